#pragma once
// The live monitor: the panel with the gas, manifold and acceleration gauges, refreshed by
// Timer2 every 400 ms, and the idle-time view of the service pages.

class QProgressBar;
struct WindowControls;

void StartMonitor();
void Timer2Timer();

// Nearest integer (ties to even), limited to the gauge's range.
void SetGauge(QProgressBar* gauge, long double value);

void InstallMonitor(const WindowControls& controls);
