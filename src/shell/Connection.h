#pragma once
// Finding the controller on COM1..COM4 and tying the main window's state to the link.

#include <cstdint>

class TForm1;

// True from a passed identity check until "Close COM" or the next connection attempt.
bool DeviceConnected();

// One connection attempt on one port; the port stays open when the controller answered.
bool ConnectOnPort(int16_t port);

void Connect_to_COM1Click();
void Close_COMClick();

// The identity word a controller of this type answers at parameter 47.
inline constexpr uint16_t ControllerIdentity = 503;

void InstallConnection(TForm1& form);
