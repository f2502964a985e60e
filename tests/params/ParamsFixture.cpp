#include "ParamsFixture.h"

#include "Comm_Fun.h"
#include "Form1.h"
#include "Form1Controls.h"
#include "ParameterBindings.h"

ParamsFixture::ParamsFixture() : form_(std::make_unique<TForm1>()) {
    Form1 = form_.get();
    InstallParameterBindings(ControlsOf(*form_));
    Comm_Fun::OpenPort(1, 19200);
    controller().clearLog();
}

ParamsFixture::~ParamsFixture() {
    Comm_Fun::ClosePort();
    Form1 = nullptr;
}
