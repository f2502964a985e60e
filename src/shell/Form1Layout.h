#pragma once
// The main window's description: one row per control in creation order. The order matters:
// InitAll and PassAll visit the value controls in the order of the window's component list.

#include "ControlLooks.h"

#include <QRect>

#include <variant>

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QWidget;
class TExtText;
class TForm1;
class TSpinExtEdit;

enum class Kind {
    Button,      // QPushButton
    GroupBox,    // QGroupBox
    PageControl, // QTabWidget
    TabSheet,    // QWidget, a page of its parent page control
    Panel,       // QFrame
    Label,       // QLabel
    StaticText,  // QLabel with a sunken frame that the program fills
    List,        // QComboBox, pick-only
    Radio,       // QRadioButton
    TrackBar,    // QSlider
    Gauge,       // QProgressBar
    SpinEdit,    // TSpinExtEdit
    Display,     // TExtText
};

enum class Start { Enabled, Disabled, Hidden };

template <class Widget> using Member = Widget* TForm1::*;
using AnyMember =
    std::variant<Member<QPushButton>, Member<QGroupBox>, Member<QTabWidget>, Member<QWidget>,
                 Member<QFrame>, Member<QLabel>, Member<QComboBox>, Member<QRadioButton>,
                 Member<QSlider>, Member<QProgressBar>, Member<TSpinExtEdit>, Member<TExtText>>;

// A page control placed with this rectangle fills its page.
inline constexpr QRect FillsPage{};

struct ControlRow {
    Kind kind;
    const char* name;
    const char* parent;  // empty: the window's client area
    const char* caption; // text, group or page title, or a display's value caption
    QRect place;         // left, top, width, height in the parent's client coordinates
    Look look;
    Start start;
    AnyMember member;
    int full = 0;     // gauge: value of a full bar; track bar: last position
    int position = 0; // track bar: position at start
};

struct LayoutTable {
    const ControlRow* rows;
    int count;
    const ControlRow* begin() const { return rows; }
    const ControlRow* end() const { return rows + count; }
};

LayoutTable MainWindowLayout();

// Creates every control of the table below clientArea, sets the members of form and lists
// each control in form.Components in creation order.
void BuildMainWindow(TForm1& form, QWidget* clientArea);
