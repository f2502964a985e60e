#include "Form1Controls.h"

#include "ControllerSession.h"
#include "Form1.h"
#include "WindowSession.h"

#include <QFrame>

WindowControls ControlsOf(TForm1& form) {
    WindowControls c;
    c.window = &form;
    c.Poller = &SessionOf(form).Poller();
    c.Reads = &GoodReadsOf(form);
    c.SpinExtEdit2 = form.SpinExtEdit2;
    c.SpinExtEdit6 = form.SpinExtEdit6;
    c.SpinExtEdit9 = form.SpinExtEdit9;
    c.SpinExtEdit40 = form.SpinExtEdit40;
    c.ExtText1 = form.ExtText1;
    c.ComboBox1 = form.ComboBox1;
    c.ComboBox2 = form.ComboBox2;
    c.ComboBox3 = form.ComboBox3;
    c.ComboBox4 = form.ComboBox4;
    c.RadioButton1 = form.RadioButton1;
    c.RadioButton2 = form.RadioButton2;
    c.RadioButton3 = form.RadioButton3;
    c.RadioButton4 = form.RadioButton4;
    c.RadioButton5 = form.RadioButton5;
    c.RadioButton6 = form.RadioButton6;
    c.TrackBar2 = form.TrackBar2;
    c.GroupBox15 = form.GroupBox15;
    c.GroupBox25 = form.GroupBox25;
    c.GroupBox30 = form.GroupBox30;
    c.GroupBox35 = form.GroupBox35;
    c.StaticText2 = form.StaticText2;
    c.Label6 = form.Label6;
    c.Label12 = form.Label12;
    c.Label17 = form.Label17;
    c.Label18 = form.Label18;
    c.Gauge1 = form.Gauge1;
    c.Gauge2 = form.Gauge2;
    c.Gauge3 = form.Gauge3;
    c.Gauge4 = form.Gauge4;
    c.Panel3 = form.Panel3;
    c.Timer2 = form.Timer2;
    return c;
}
