#pragma once
// "Сервис" › "Карта коррекции…": the map of the trim over engine speed and load, live from the
// window's feed or from recorded logs; its page in the settings sheet.

#include "Sheet.h"

#include <optional>

class MapWindow;
class QWidget;
class TForm1;

void InstallMap(TForm1& form);

// The window's map, made on the first call.
MapWindow& MapOf(TForm1& form);

// The map's page for a sheet made over `form`, while its map holds samples.
std::optional<Sheets::Section> MapPage(QWidget* form);
