#include "Startup.h"

#include "Connection.h"
#include "DeviceIdentity.h"
#include "FileFun.h"
#include "ParameterBindings.h"

void InstallBehaviour(TForm1& form) {
    InstallParameterBindings(form);
    InstallConnection(form);
    InstallFileMenu(form);
    InstallIdentity(form);
}
