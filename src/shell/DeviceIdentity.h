#pragma once
// The controller's identity on the main window: serial number (StaticText1) and date of
// manufacture (StaticText3), and the numbering of controllers from the production log.

#include <QString>

class TForm1;

// Reads parameters 1..32 and shows both texts as read (Windows-1251; a character of code 0
// ends the shown text); a text with a failed read keeps what was shown. No other event runs
// until the numbering is done. A controller whose sequence
// number reads "00000" gets the next number from the production log: the log record is on
// disk before the new serial number and today's date are written into the controller and
// shown. Numbering needs all 32 reads to have had a valid reply; otherwise nothing is written
// anywhere. Where no log is found, the user is asked before a new one is begun there; "No"
// numbers nothing and says so, and the caller goes on. Log errors (EInOutError), a log that another
// station holds too long (ELogBusy) and a log number that is no integer (EConvertError) leave by
// exception. So does a numbering whose writes into the controller did not all have a valid reply:
// the log keeps its record (the number is never given twice), the window keeps the serial number
// read before, and the message names the number and how to finish by hand.
void ReadDeviceIdentity();

// Writes the serial number (blank-padded, cut to 24 characters) to addresses 1..24 and
// today's date (dd.MM.yy) to 25..32, all 32 words whatever the replies. True when every write
// had a valid reply.
bool WriteSerialNumber(const QString& serial);

// The factory gesture on StaticText1 that opens the serial-number dialog.
void InstallIdentity(TForm1& form);
