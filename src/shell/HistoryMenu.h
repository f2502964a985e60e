#pragma once
// "Сервис" › "История прибора…" and "Сервис" › "Приборы: ТО", the visit the window's session
// records at each connection, and in the menu bar's corner, when the connected controller was
// seen before, "Пора ТО" if its service is due or else the count of its visits.

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
// What the corner says of the connected controller's history, as assistive technology reads
// it: "Пора ТО" and what is due, or "История прибора" and its visits; empty when it says
// nothing.
QString CornerShown(TForm1& form);

} // namespace History
