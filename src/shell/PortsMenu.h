#pragma once
// "Сервис" › "Порты…", the remembered port choice, and the advice after a scan that found
// no controller.

class TForm1;

// Shows which ports could not be opened or stayed silent in the last scan, and why;
// nothing when there is nothing to explain.
void ShowPortAdvice();

void InstallPortsMenu(TForm1& form);
