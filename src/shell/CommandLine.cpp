#include "CommandLine.h"

#include <string_view>

#ifndef Q5_VERSION
#error "Q5_VERSION must be defined by the build"
#endif

namespace CommandLine {

Request Parse(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version")
            return Request::ShowVersion;
        if (arg == "--help" || arg == "-h")
            return Request::ShowHelp;
    }
    return Request::RunWindow;
}

std::string VersionText() {
    return std::string("tarvik-q5 ") + Q5_VERSION + "\n";
}

std::string HelpText() {
    return "usage: tarvik-q5 [--version | --help]\n"
           "Service and tuning tool for the Tarvik-Q5 gas injection controller. Without an\n"
           "option it opens its window; the controller is found on COM1 to COM4.\n"
           "\n"
           "  --version          print the version and exit\n"
           "  -h, --help         show this text and exit\n"
           "\n"
           "Keys: F10 opens the menu bar, Ctrl+O \"Загрузить из файла\", Ctrl+S \"Сохранить в\n"
           "файле\", Ctrl+Z and Ctrl+Shift+Z \"Отменить\" and \"Повторить\".\n"
           "\n"
           "The menu \"Сервис\":\n"
           "  Отменить, Повторить               take back or write again the last change\n"
           "  Точки восстановления…             the settings kept at each connection\n"
           "  Сравнить с файлом…                the controller against a settings file\n"
           "  Сравнить два файла…               two settings files against each other\n"
           "  Резервная копия при подключении   keep a restore point at each connection\n"
           "  Запись данных…                    record live values to a CSV log\n"
           "  Графики…                          charts of live values and of logs\n"
           "  Отметка…                          F9: a marker in the recording, with a text\n"
           "  Карта коррекции…                  the trim over engine speed and load\n"
           "  История прибора…                  a controller's visits, car and service\n"
           "  Приборы: ТО                       known controllers due for a service\n"
           "  Лист установок…                   the settings on paper or as a PDF\n"
           "  Открыть файл без прибора…         edit a settings file with no controller\n"
           "  Порты…                            choose the devices of COM1 to COM4\n"
           "  Производственная линия…           number, program and check new units\n"
           "\n"
           "Files:\n"
           "  ~/.local/share/tarvik-q5/          the data folder ($XDG_DATA_HOME/tarvik-q5):\n"
           "                                     restore points (backups/), journals of the\n"
           "                                     writes (journal/), data logs (logs/), the\n"
           "                                     production line's reports (line/)\n"
           "  ~/.config/tarvik-q5/tarvik-q5.conf the preferences: the ports chosen in\n"
           "                                     \"Порты…\" (group Ports), the folder each\n"
           "                                     kind of file dialog last used (group Folders)\n"
           "  /var/lib/tarvik-q5/Protocol.lst    the production log that numbers controllers,\n"
           "                                     one for every user of the machine (members of\n"
           "                                     the group tarvik-q5 may number); a program\n"
           "                                     run from its build tree keeps it beside itself\n"
           "\n"
           "Environment:\n"
           "  TARVIK_Q5_PORTS    colon-separated device paths for COM1 to COM4, e.g.\n"
           "                     /dev/ttyUSB0::/dev/ttyS0: (default: the ports chosen in\n"
           "                     \"Порты…\", else the first four that exist of\n"
           "                     /dev/ttyUSB0-9, /dev/ttyACM0-9, /dev/ttyS0-3)\n";
}

} // namespace CommandLine
