#include "ConnectedWindow.h"

#include "Comm_Fun.h"
#include "Connection.h"
#include "Form1.h"
#include "GoodReads.h"
#include "LinkIndicator.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"
#include "WindowSession.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
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
    // While the window shows the link lost, the controls are held: disabled, keeping their
    // values. The link watch tells the window from the event loop, so the window may not know
    // yet of a loss the watch has seen.
    const auto* indicator = form.MainMenu1->findChild<LinkIndicator*>();
    const bool lost = indicator && indicator->Shown() == LinkIndicator::State::Lost;
    const Expectation expectations[] = {
        {"connected", DeviceConnected()},
        {"port open", Comm_Fun::PortOpened()},
        {"Connect to COM disabled", !form.Connect_to_COM1->isEnabled()},
        {"Close COM enabled", form.Close_COM->isEnabled()},
        {"N2 enabled unless lost", form.N2->isEnabled() != lost},
        {"N3 enabled", form.N3->isEnabled()},
        {"StaticText1 enabled", form.StaticText1->isEnabled()},
        {"StaticText4 enabled", form.StaticText4->isEnabled()},
        {"RadioButton1 enabled unless lost", form.RadioButton1->isEnabled() != lost},
        {"RadioButton2 enabled unless lost", form.RadioButton2->isEnabled() != lost},
        {"ComboBox1 enabled unless lost", form.ComboBox1->isEnabled() != lost},
        {"ComboBox2 enabled unless lost", form.ComboBox2->isEnabled() != lost},
        {"ComboBox3 enabled unless lost", form.ComboBox3->isEnabled() != lost},
        {"ComboBox4 enabled unless lost", form.ComboBox4->isEnabled() != lost},
        {"Panel3 shown", form.Panel3->isVisibleTo(&form)},
        // While the link is lost the monitor waits for the link watch to start it again.
        {"Timer2 running", form.Timer2->isActive() || lost},
    };
    QStringList problems;
    for (const Expectation& expectation : expectations)
        if (!expectation.holds)
            problems << QStringLiteral("not %1").arg(QLatin1String(expectation.what));

    // No value control stays disabled, save the oxygen-sensor display while "нет" is chosen and
    // a spin edit whose word never came back: it keeps the state of "Close COM". While the
    // link is lost, none is enabled.
    for (const QPointer<QObject>& component : form.Components.Items()) {
        auto* widget = qobject_cast<QWidget*>(component.data());
        const bool valueControl =
            qobject_cast<TSpinExtEdit*>(widget) != nullptr || qobject_cast<TExtText*>(widget);
        if (valueControl && lost && widget->isEnabled())
            problems << widget->objectName() + QStringLiteral(" enabled while the link is lost");
        if (!valueControl || widget->isEnabled() || lost)
            continue;
        if (widget == form.ExtText1 && form.RadioButton2->isChecked())
            continue;
        if (qobject_cast<TSpinExtEdit*>(widget) && !GoodReadsOf(form).Had(widget))
            continue;
        problems << widget->objectName() + QStringLiteral(" disabled");
    }
    return problems;
}
