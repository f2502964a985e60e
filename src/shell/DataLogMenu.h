#pragma once
// "Сервис" › "Запись данных…", "Графики…" and "Отметка…" (F9): recording the live values into a
// log while connected, with "● Запись mm:ss" in the menu bar, the chart window, and markers set
// during a recording.

#include "Recorder.h"

#include <QString>

#include <optional>

class ChartWindow;
class LiveFeed;
class TForm1;

void InstallDataLog(TForm1& form);

namespace Recording {

// The file a new recording proposes: "<serial> <yyyy-MM-dd HH-mm-ss>.csv" in the folder where
// the last recording went or a log was opened, the first time in logs/ of the tool's data folder.
QString DefaultPath();

// Starts recording into the file at the rate (lowered to what the line carries), or waiting
// for the trigger; the rate asked for is remembered. Throws LogError when the file cannot be
// made.
void Start(TForm1& form, const QString& path, int requestedRate,
           std::optional<Recorder::Trigger> trigger = std::nullopt);
// Asks for a marker's text and sets the marker at this moment, when a recording runs.
void Mark(TForm1& form);
// Stops a recording, writing what it kept.
void Stop(TForm1& form);
bool IsRecording(TForm1& form);
// The recording's file and rate; empty and 0 when none runs.
QString Path(TForm1& form);
int Rate(TForm1& form);
// The rows the recording has made so far, kept in memory or written.
qint64 Rows(TForm1& form);

// The sampler of the window's live values that the recording and the charts share.
LiveFeed& Feed(TForm1& form);

// The chart window of the main window, made on the first call.
ChartWindow& Charts(TForm1& form);

} // namespace Recording
