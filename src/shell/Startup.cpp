#include "Startup.h"

#include "Connection.h"
#include "DataLogMenu.h"
#include "DeviceIdentity.h"
#include "FileFun.h"
#include "Form1.h"
#include "Form1Controls.h"
#include "Form3.h"
#include "HistoryMenu.h"
#include "InputComforts.h"
#include "LineMenu.h"
#include "MapMenu.h"
#include "Offline.h"
#include "ParameterBindings.h"
#include "PortsMenu.h"
#include "SafetyDialogs.h"
#include "SafetyNetMenu.h"
#include "Ser_num.h"
#include "SheetMenu.h"

void InstallBehaviour(TForm1& form) {
    InstallParameterBindings(ControlsOf(form));
    InstallConnection(form);
    InstallFileMenu(form);
    InstallIdentity(form);
    InstallSafetyDialogs(form);
    InstallSafetyNet(form);
    InstallDataLog(form);
    InstallMap(form);
    InstallSheets(form);
    InstallHistory(form);
    InstallOffline(form);
    InstallPortsMenu(form);
    InstallLineMenu(form);
    InstallInputComforts(form);
}

ApplicationWindows::ApplicationWindows() : mainWindow_(std::make_unique<TForm1>()) {
    Form1 = mainWindow_.get();
    InstallBehaviour(*mainWindow_);
    serialNumberDialog_ = std::make_unique<TForm2>();
    Form2 = serialNumberDialog_.get();
    aboutBox_ = std::make_unique<TForm3>();
    Form3 = aboutBox_.get();
}

ApplicationWindows::~ApplicationWindows() {
    Form3 = nullptr;
    aboutBox_.reset();
    Form2 = nullptr;
    serialNumberDialog_.reset();
    Form1 = nullptr;
    mainWindow_.reset();
}
