#pragma once
// The controls of the main window that the bindings, the selectors and the monitor move.
// The shell fills this once when it builds the window; nothing here knows the window itself.

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QRadioButton;
class QSlider;
class QTimer;
class QWidget;
class GoodReads;
class LivePoller;
class TExtText;
class TSpinExtEdit;

struct WindowControls {
    QWidget* window = nullptr; // finds the bound controls by their object names
    TSpinExtEdit* SpinExtEdit2 = nullptr;
    TSpinExtEdit* SpinExtEdit6 = nullptr;
    TSpinExtEdit* SpinExtEdit9 = nullptr;
    TSpinExtEdit* SpinExtEdit40 = nullptr;
    TExtText* ExtText1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QSlider* TrackBar2 = nullptr;
    QGroupBox* GroupBox15 = nullptr;
    QGroupBox* GroupBox25 = nullptr;
    QGroupBox* GroupBox30 = nullptr;
    QGroupBox* GroupBox35 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label17 = nullptr;
    QLabel* Label18 = nullptr;
    QProgressBar* Gauge1 = nullptr;
    QProgressBar* Gauge2 = nullptr;
    QProgressBar* Gauge3 = nullptr;
    QProgressBar* Gauge4 = nullptr;
    QWidget* Panel3 = nullptr;
    QTimer* Timer2 = nullptr;
    // The live words of the window's controller are read through its poller; which controls
    // had a good read is the window's own.
    LivePoller* Poller = nullptr;
    GoodReads* Reads = nullptr;
};

// The window's controls as the shell registered them.
WindowControls& Controls();
