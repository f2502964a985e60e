#pragma once
// The main window's controller session (ControllerSession.h) over the window's link, and which
// of the window's controls have had a good read. Made with the window's behaviour, on the first
// call; both go with the window.

class ControllerSession;
class GoodReads;
class TForm1;

ControllerSession& SessionOf(TForm1& form);
GoodReads& GoodReadsOf(TForm1& form);
