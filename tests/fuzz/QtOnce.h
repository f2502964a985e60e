#pragma once
// The Qt application object of a fuzz target: created once, on the offscreen platform, with
// arguments of its own so that libFuzzer's flags never reach Qt.
//
// libFuzzer ends the process with exit(), by which time Qt's own globals may already have
// been destroyed; so the application and the window that owns a target's widgets are never
// destroyed.

class QWidget;

// A QApplication (widgets) or a QCoreApplication.
void EnsureApplication(bool widgets);

// A top-level window, never shown, to own a target's widgets.
QWidget& OwnerWindow();
