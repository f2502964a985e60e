#include "ConnectedWindow.h"

#include "Comm_Fun.h"
#include "Connection.h"
#include "Form1.h"
#include "GoodReads.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

struct Expectation {
    const char* what;
    bool holds;
};

} // namespace

QStringList ConnectedWindowProblems(TForm1& form) {
    const Expectation expectations[] = {
        {"connected", DeviceConnected()},
        {"port open", Comm_Fun::PortOpened()},
        {"Connect to COM disabled", !form.Connect_to_COM1->isEnabled()},
        {"Close COM enabled", form.Close_COM->isEnabled()},
        {"N2 enabled", form.N2->isEnabled()},
        {"N3 enabled", form.N3->isEnabled()},
        {"StaticText1 enabled", form.StaticText1->isEnabled()},
        {"StaticText4 enabled", form.StaticText4->isEnabled()},
        {"RadioButton1 enabled", form.RadioButton1->isEnabled()},
        {"RadioButton2 enabled", form.RadioButton2->isEnabled()},
        {"ComboBox1 enabled", form.ComboBox1->isEnabled()},
        {"ComboBox2 enabled", form.ComboBox2->isEnabled()},
        {"ComboBox3 enabled", form.ComboBox3->isEnabled()},
        {"ComboBox4 enabled", form.ComboBox4->isEnabled()},
        {"Panel3 shown", form.Panel3->isVisibleTo(&form)},
        // While the link is lost the monitor waits for the link watch to start it again.
        {"Timer2 running", form.Timer2->isActive() || LinkLost()},
    };
    QStringList problems;
    for (const Expectation& expectation : expectations)
        if (!expectation.holds)
            problems << QStringLiteral("not %1").arg(QLatin1String(expectation.what));

    // No value control stays disabled, save the oxygen-sensor display while "нет" is chosen and
    // a spin edit whose word never came back: it keeps the state of "Close COM".
    for (const QPointer<QObject>& component : form.Components.Items()) {
        auto* widget = qobject_cast<QWidget*>(component.data());
        const bool valueControl =
            qobject_cast<TSpinExtEdit*>(widget) != nullptr || qobject_cast<TExtText*>(widget);
        if (!valueControl || widget->isEnabled())
            continue;
        if (widget == form.ExtText1 && form.RadioButton2->isChecked())
            continue;
        if (qobject_cast<TSpinExtEdit*>(widget) && !GoodReads::Had(widget))
            continue;
        problems << widget->objectName() + QStringLiteral(" disabled");
    }
    return problems;
}
