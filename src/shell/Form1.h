#pragma once
// The main window: connection buttons, the top strip of live values, the monitor panel and
// the tabbed parameter pages. Every control is a public member under its component name, so
// that the handlers of the other modules reach it through Form1.

#include "Captions.h"
#include "ComponentList.h"

#include <QMainWindow>

class QAction;
class QComboBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTimer;
class TExtText;
class TSpinExtEdit;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    // Every component in creation order; InitAll and PassAll walk it.
    ComponentList Components;

    // Menu: N1 "Файл" (N2 load, N3 save, N7 exit), N4 "?" (N5 help, never shown; N6 about).
    QMenuBar* MainMenu1 = nullptr;
    QMenu* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N7 = nullptr;
    QMenu* N4 = nullptr;
    QAction* N5 = nullptr;
    QAction* N6 = nullptr;

    // The live monitor's timer: 400 ms, stopped until the monitor starts.
    QTimer* Timer2 = nullptr;

    // Settings-file dialogs.
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;

    // Connection buttons.
    QPushButton* Connect_to_COM1 = nullptr;
    QPushButton* Close_COM = nullptr;

    // Group boxes.
    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QGroupBox* GroupBox7 = nullptr;
    QGroupBox* GroupBox8 = nullptr;
    QGroupBox* GroupBox9 = nullptr;
    QGroupBox* GroupBox10 = nullptr;
    QGroupBox* GroupBox11 = nullptr;
    QGroupBox* GroupBox12 = nullptr;
    QGroupBox* GroupBox13 = nullptr;
    QGroupBox* GroupBox14 = nullptr;
    QGroupBox* GroupBox15 = nullptr;
    QGroupBox* GroupBox16 = nullptr;
    QGroupBox* GroupBox17 = nullptr;
    QGroupBox* GroupBox18 = nullptr;
    QGroupBox* GroupBox19 = nullptr;
    QGroupBox* GroupBox20 = nullptr;
    QGroupBox* GroupBox21 = nullptr;
    QGroupBox* GroupBox22 = nullptr;
    QGroupBox* GroupBox23 = nullptr;
    QGroupBox* GroupBox24 = nullptr;
    QGroupBox* GroupBox25 = nullptr;
    QGroupBox* GroupBox26 = nullptr;
    QGroupBox* GroupBox27 = nullptr;
    QGroupBox* GroupBox28 = nullptr;
    QGroupBox* GroupBox29 = nullptr;
    QGroupBox* GroupBox30 = nullptr;
    QGroupBox* GroupBox31 = nullptr;
    QGroupBox* GroupBox32 = nullptr;
    QGroupBox* GroupBox33 = nullptr;
    QGroupBox* GroupBox34 = nullptr;
    QGroupBox* GroupBox35 = nullptr;
    QGroupBox* GroupBox36 = nullptr;
    QGroupBox* GroupBox37 = nullptr;
    QGroupBox* GroupBox38 = nullptr;
    QGroupBox* GroupBox39 = nullptr;
    QGroupBox* GroupBox40 = nullptr;
    QGroupBox* GroupBox41 = nullptr;
    QGroupBox* GroupBox42 = nullptr;
    QGroupBox* GroupBox43 = nullptr;
    QGroupBox* GroupBox44 = nullptr;
    QGroupBox* GroupBox45 = nullptr;
    QGroupBox* GroupBox46 = nullptr;

    // Page controls.
    QTabWidget* PageControl1 = nullptr;
    QTabWidget* PageControl2 = nullptr;
    QTabWidget* PageControl3 = nullptr;
    QTabWidget* PageControl4 = nullptr;

    // Pages.
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet7 = nullptr;
    QWidget* TabSheet8 = nullptr;
    QWidget* TabSheet9 = nullptr;
    QWidget* TabSheet10 = nullptr;
    QWidget* TabSheet11 = nullptr;
    QWidget* TabSheet12 = nullptr;
    QWidget* TabSheet13 = nullptr;
    QWidget* TabSheet15 = nullptr;
    QWidget* TabSheet16 = nullptr;

    // Live-monitor panel.
    QFrame* Panel3 = nullptr;

    // Labels.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* Label15 = nullptr;
    QLabel* Label16 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QLabel* Label19 = nullptr;
    QLabel* Label20 = nullptr;
    QLabel* Label21 = nullptr;
    QLabel* Label22 = nullptr;
    QLabel* Label23 = nullptr;
    QLabel* Label24 = nullptr;
    QLabel* Label25 = nullptr;
    QLabel* Label26 = nullptr;
    QLabel* Label27 = nullptr;
    QLabel* Label28 = nullptr;
    QLabel* Label29 = nullptr;
    QLabel* Label30 = nullptr;
    QLabel* Label31 = nullptr;
    QLabel* Label32 = nullptr;
    QLabel* Label33 = nullptr;

    // Framed texts that the program fills.
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;

    // Drop-down lists.
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;

    // Radio buttons.
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;

    // Track bars.
    QSlider* TrackBar1 = nullptr;
    QSlider* TrackBar2 = nullptr;

    // Gauge bars.
    QProgressBar* Gauge1 = nullptr;
    QProgressBar* Gauge2 = nullptr;
    QProgressBar* Gauge3 = nullptr;
    QProgressBar* Gauge4 = nullptr;

    // Spin value edits.
    TSpinExtEdit* SpinExtEdit1 = nullptr;
    TSpinExtEdit* SpinExtEdit2 = nullptr;
    TSpinExtEdit* SpinExtEdit3 = nullptr;
    TSpinExtEdit* SpinExtEdit4 = nullptr;
    TSpinExtEdit* SpinExtEdit5 = nullptr;
    TSpinExtEdit* SpinExtEdit6 = nullptr;
    TSpinExtEdit* SpinExtEdit7 = nullptr;
    TSpinExtEdit* SpinExtEdit8 = nullptr;
    TSpinExtEdit* SpinExtEdit9 = nullptr;
    TSpinExtEdit* SpinExtEdit10 = nullptr;
    TSpinExtEdit* SpinExtEdit11 = nullptr;
    TSpinExtEdit* SpinExtEdit12 = nullptr;
    TSpinExtEdit* SpinExtEdit13 = nullptr;
    TSpinExtEdit* SpinExtEdit14 = nullptr;
    TSpinExtEdit* SpinExtEdit15 = nullptr;
    TSpinExtEdit* SpinExtEdit16 = nullptr;
    TSpinExtEdit* SpinExtEdit17 = nullptr;
    TSpinExtEdit* SpinExtEdit18 = nullptr;
    TSpinExtEdit* SpinExtEdit19 = nullptr;
    TSpinExtEdit* SpinExtEdit20 = nullptr;
    TSpinExtEdit* SpinExtEdit21 = nullptr;
    TSpinExtEdit* SpinExtEdit22 = nullptr;
    TSpinExtEdit* SpinExtEdit23 = nullptr;
    TSpinExtEdit* SpinExtEdit24 = nullptr;
    TSpinExtEdit* SpinExtEdit25 = nullptr;
    TSpinExtEdit* SpinExtEdit26 = nullptr;
    TSpinExtEdit* SpinExtEdit27 = nullptr;
    TSpinExtEdit* SpinExtEdit28 = nullptr;
    TSpinExtEdit* SpinExtEdit29 = nullptr;
    TSpinExtEdit* SpinExtEdit30 = nullptr;
    TSpinExtEdit* SpinExtEdit31 = nullptr;
    TSpinExtEdit* SpinExtEdit32 = nullptr;
    TSpinExtEdit* SpinExtEdit33 = nullptr;
    TSpinExtEdit* SpinExtEdit34 = nullptr;
    TSpinExtEdit* SpinExtEdit35 = nullptr;
    TSpinExtEdit* SpinExtEdit36 = nullptr;
    TSpinExtEdit* SpinExtEdit37 = nullptr;
    TSpinExtEdit* SpinExtEdit38 = nullptr;
    TSpinExtEdit* SpinExtEdit39 = nullptr;
    TSpinExtEdit* SpinExtEdit40 = nullptr;
    TSpinExtEdit* SpinExtEdit41 = nullptr;
    TSpinExtEdit* SpinExtEdit42 = nullptr;
    TSpinExtEdit* SpinExtEdit43 = nullptr;

    // Polled value displays.
    TExtText* ExtText1 = nullptr;
    TExtText* ExtText2 = nullptr;
    TExtText* ExtText3 = nullptr;
    TExtText* ExtText4 = nullptr;
    TExtText* ExtText5 = nullptr;
    TExtText* ExtText6 = nullptr;
    TExtText* ExtText7 = nullptr;
    TExtText* ExtText8 = nullptr;
    TExtText* ExtText9 = nullptr;
    TExtText* ExtText10 = nullptr;

    void FormCreate();
    void N6Click();
    void N7Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool centred = false; // placed in the middle of the screen at the first show
    void CreateMenu();
    void CreateNonVisual();
    void SetTabOrder();
};

extern TForm1* Form1;
