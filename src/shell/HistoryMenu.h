#pragma once
// "Сервис" › "История прибора…" and "Сервис" › "Приборы: ТО", the visit the window's session
// records at each connection, and "Пора ТО" in the menu bar's corner when the connected
// controller's service is due.

#include "HistoryStore.h"

#include <QDateTime>

#include <functional>
#include <utility>
#include <vector>

struct ConnectedDevice;
class HistoryWindow;
class TForm1;
class VisitRecorder;

void InstallHistory(TForm1& form);

namespace History {

VisitRecorder& RecorderOf(TForm1& form);
// Files of the connected controller, for its history; nothing without one.
void NoteFile(TForm1& form, FileKind kind, const QString& path);
// The history window of the main window, made on the first call.
HistoryWindow& WindowOf(TForm1& form);
// The vehicle card of the controller for a sheet's header; none when it has none or the
// history cannot be read.
std::vector<std::pair<QString, QString>> VehicleOnPaper(const ConnectedDevice& device);
// "Пора ТО" and what is due, as the corner says it; empty when it says nothing.
QString DueShown(TForm1& form);

} // namespace History
