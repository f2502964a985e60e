#pragma once
// The "Файл" menu of the main window: saving the controller's parameter block to a settings
// file and loading a settings file into the controller. Both assume a connected controller.

#include "SettingsCheck.h"
#include "WriteOperation.h"

#include <QString>

#include <cstdint>
#include <vector>

class QFileDialog;
class TForm1;

// Runs a file dialog of the settings files from the folder where one was last chosen (the
// first time, where SettingsFile's dialogs start), with the proposed name filled in when there
// is one, and remembers the chosen file's folder; the chosen path, or empty when cancelled. A
// completion list that Enter left open is closed, so that it does not swallow the window's next
// click.
QString ChooseSettingsPath(QFileDialog* dialog, const QString& proposedName = {});

// "Загрузить из файла": choose a file, load it, name it in the caption.
void N2Click();
// "Сохранить в файле": choose a file (".q5t" added when missing), confirm replacing an
// existing one, save, name it in the caption.
void N3Click();

// Both first commit text typed into a value field, as Enter would (CommitTypedText), so that
// what is saved or overwritten is what the window shows.

// Reads all 67 words first; a read without a valid reply throws ENoReply and no file is
// touched. Then the file is replaced durably. File errors throw EInOutError.
void SaveSettings(const QString& path);

// Reads and checks the whole file before anything is sent: a short file throws "Read beyond
// end of file", a file whose identity record is wrong is refused as no settings file, and one
// with damaged records, words the controls would not accept or bytes beyond the records is
// loaded only when the user confirms (false when not). Then stops the monitor, takes the value
// controls down and writes the 67 words in address order, stopping with EWriteStopped at the
// first write without a valid reply. Whether the writes all went through or not, the value
// controls and the monitor are brought back before this returns or throws, so that the window
// shows what the controller holds.
bool LoadSettings(const QString& path);

// The checks a load makes of a file's first `bytes` (the file being `length` bytes long),
// before it is written or opened without a controller: a foreign file and one with words
// missing throw, a doubtful one goes on only when the user says so (false when not).
bool MayTakeSettings(const QByteArray& bytes, qint64 length, SettingsCheck::Use use);

struct AddressedWord {
    uint8_t address = 0;
    uint16_t word = 0;
};

// Writes the given words in the order given, as a load writes its block: the window taken
// down, each reply checked, EWriteStopped at the first write without a valid reply and nothing
// sent after it, the window brought back in either case. The journal names the writes
// `operation`; `undo` says whether they form an action of their own that can be undone.
void WriteWords(const QString& operation, const QString& label, WriteOperation::Undo undo,
                const std::vector<AddressedWord>& words);
// The compare window's write: an action of its own, "Запись из сравнения".
void WriteChosenWords(const std::vector<AddressedWord>& words);

void InstallFileMenu(TForm1& form);
