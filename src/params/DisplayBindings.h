#pragma once
// Every polled display of the main window and the live word it shows.

class TForm1;

void InstallDisplayBindings(TForm1& form);
