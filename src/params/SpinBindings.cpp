#include "SpinBindings.h"

#include "GoodReads.h"
#include "Protocol.h"
#include "Selectors.h"
#include "TSpinExtEdit.h"
#include "WindowControls.h"

#include <QWidget>

#include <cstring>
#include <iterator>

namespace {

// The spin edits whose reads or writes do more than one word (see Selectors).
struct OwnHandlers {
    const char* control;
    bool (*init)(long double& value);
    void (*change)(long double newValue);
};

constexpr OwnHandlers Handlers[] = {
    {"SpinExtEdit6", nullptr, &SpinExtEdit6ChangeValue},
    {"SpinExtEdit9", &SpinExtEdit9Init, &SpinExtEdit9ChangeValue},
    {"SpinExtEdit2", &SpinExtEdit2Init, &SpinExtEdit2ChangeValue},
    {"SpinExtEdit29", &SpinExtEdit29Init, nullptr},
    {"SpinExtEdit1", &SpinExtEdit1Init, nullptr},
};

const OwnHandlers* HandlersOf(const char* control) {
    for (const OwnHandlers& h : Handlers)
        if (std::strcmp(h.control, control) == 0)
            return &h;
    return nullptr;
}

} // namespace

bool ReadSpinBinding(const Catalogue::Entry& entry, long double& value) {
    if (!SendCommand(CmdReadParam, *entry.address, 0))
        return false;
    value = DecodeWord(entry.decode, ReplyValue());
    return true;
}

void WriteSpinBinding(const Catalogue::Entry& entry, long double newValue) {
    SendCommand(CmdWriteParam, *entry.address, EncodeValue(*entry.encode, newValue));
}

void InstallSpinBindings(const WindowControls& controls) {
    for (const Catalogue::Entry& entry : Catalogue::All()) {
        auto* edit = controls.window->findChild<TSpinExtEdit*>(QString::fromUtf8(entry.control));
        if (!edit)
            continue;
        if (entry.mask)
            edit->SetValueFormat(entry.Mask());
        edit->SetValueMin(entry.min);
        edit->SetValueMax(entry.max);
        edit->SetValue(0);
        edit->SetValueStep(entry.step);
        const OwnHandlers* own = HandlersOf(entry.control);
        if (own && own->init) {
            edit->onInit = [init = own->init, reads = controls.Reads](QObject* sender, int, int,
                                                                      long double& v) {
                reads->AfterSpinRead(sender, init(v));
            };
        } else if (entry.address) {
            edit->onInit = [&entry, reads = controls.Reads](QObject* sender, int, int,
                                                            long double& v) {
                reads->AfterSpinRead(sender, ReadSpinBinding(entry, v));
            };
        }
        if (own && own->change) {
            edit->onChangeValue = [change = own->change](QObject*, long double, long double v) {
                change(v);
            };
        } else if (entry.address && entry.encode) {
            edit->onChangeValue = [&entry](QObject*, long double, long double v) {
                WriteSpinBinding(entry, v);
            };
        }
    }
    ChooseCoilMask();
    ChooseCylinderMask();
}
