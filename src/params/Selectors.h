#pragma once
// Option selectors and the parameters that depend on each other: the four lists, the three
// radio-button pairs, the damping slider, the coil and cylinder counts with their switched
// masks and the cylinder constant, the acceleration response and the trim status line.

#include <QString>

#include <cstdint>

class QObject;
struct WindowControls;

// Read and write handlers of the spin edits with side effects. A read handler returns whether
// its own word came back; a failed read changes nothing on the window.
bool SpinExtEdit9Init(long double& value);
void SpinExtEdit9ChangeValue(long double newValue);
bool SpinExtEdit2Init(long double& value);
void SpinExtEdit2ChangeValue(long double newValue);
bool SpinExtEdit29Init(long double& value);
bool SpinExtEdit1Init(long double& value);
void SpinExtEdit6ChangeValue(long double newValue);
void ExtText4Query(QObject* sender, int queryCod, int valueAdr, long double& value);

// Masks by the count they show.
void ChooseCoilMask();
void ChooseCylinderMask();

// The word written to P96 with the cylinder count.
uint16_t CylinderConstant(long long cylinders);

// The trim status line: "=== РЕЖИМ УСТАНОВКИ ===", "Датчик кислорода  x.xx %" and so on.
QString TrimNumberText(long double percent);

// The caption of the switch-over group follows the start mode list.
void ApplySwitchOverCaption();

// Selects the gas-sensor option: shows the matching calibration group and colours the
// monitor's gas caption; writes the option back through the radio buttons' handler when the
// selection changes.
void SelectGasSensor(bool present);
void SetGasCaptionColour(bool present);

// Connects the lists, radio buttons and slider of the window to their handlers.
void InstallSelectors(const WindowControls& controls);
