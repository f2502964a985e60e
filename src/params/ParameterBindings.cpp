#include "ParameterBindings.h"

#include "DisplayBindings.h"
#include "Monitor.h"
#include "Selectors.h"
#include "SpinBindings.h"

void InstallParameterBindings(TForm1& form) {
    InstallSpinBindings(form);
    InstallDisplayBindings(form);
    InstallSelectors(form);
    InstallMonitor(form);
}
