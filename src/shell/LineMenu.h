#pragma once
// "Сервис" › "Производственная линия…": the line's window, opened while no controller is
// connected in the main window (the line takes the ports).

class TForm1;

void InstallLineMenu(TForm1& form);
