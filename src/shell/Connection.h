#pragma once
// Finding the controller on COM1..COM4 and tying the main window's state to the link.

#include "ConnectedDevice.h"

#include <cstdint>
#include <vector>

class TForm1;

// True from a passed identity check until "Close COM" or the next connection attempt.
bool DeviceConnected();

// One connection attempt on one port; the port stays open when the controller answered.
bool ConnectOnPort(int16_t port);

// After a connection: one message naming the words that could not be read, if any.
void Connect_to_COM1Click();
void Close_COMClick();

// Every value control reads the controller again, in the window's order. Each shows its value
// while the next one's reply is on its way; all are shown when it returns. A spin edit whose
// read failed reads once more at the end, once the line has settled. Returns the parameter
// words that still could not be read.
std::vector<uint8_t> InitValueControls();

// The controller connected now, as its identity was read (the last connection's otherwise).
ConnectedDevice& CurrentDevice();

// Starts the link watch on the controller connected now, with the serial number as read;
// called again after the serial number changes.
void ArmLinkWatch();

// True while the connected controller has stopped answering.
bool LinkLost();

// While the link is lost: the window shows it, the controls (also those a handler brought
// back) are held and the polling stops, until the link watch finds the same controller.
void HoldWhileLinkLost();

// The buttons' handlers, the link watch and its indicator in the menu bar.
void InstallConnection(TForm1& form);
