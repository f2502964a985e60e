#include "ParameterBindings.h"

#include "DisplayBindings.h"
#include "Monitor.h"
#include "Selectors.h"
#include "SpinBindings.h"
#include "WindowControls.h"

WindowControls& Controls() {
    static WindowControls controls;
    return controls;
}

void InstallParameterBindings(const WindowControls& controls) {
    Controls() = controls;
    InstallSpinBindings(controls);
    InstallDisplayBindings(controls);
    InstallSelectors(controls);
    InstallMonitor(controls);
}
