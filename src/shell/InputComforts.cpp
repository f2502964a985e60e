#include "InputComforts.h"

#include "ControlTips.h"
#include "Form1.h"
#include "TSpinExtEdit.h"

void InstallInputComforts(TForm1& form) {
    ControlTips::Install(form);
    for (TSpinExtEdit* spin : form.findChildren<TSpinExtEdit*>())
        spin->SetKeySteps(true);
}
