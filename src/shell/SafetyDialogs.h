#pragma once
// "Сервис" › "Точки восстановления…", "Сравнить с файлом…" and "Сравнить два файла…": the
// windows of the restore points and of comparisons, fed from the connected controller and
// from settings files. Writes go through the load's and the chosen words' paths only.

#include <QString>

#include <memory>

class CompareDialog;
class QWidget;
class RestorePointsDialog;
class TForm1;

// Both first commit text typed into the window's value fields (CommitTypedText).

// The connected controller's restore points against the words it holds now, which are read
// first (ENoReply at the first read without a valid reply). "Восстановить" asks first ("No" is
// the default), then loads the point as a settings file is loaded and reads the controller
// again.
std::unique_ptr<RestorePointsDialog> MakeRestorePointsDialog(QWidget* parent);

// The connected controller (side A) against a settings file (side B). The file is read and
// checked as for a load before the controller is read; nullptr when no file is there.
// "Записать отмеченные" writes the file's words of the checked rows (a group of linked words
// whole) as chosen words are written, then reads the controller again.
std::unique_ptr<CompareDialog> MakeControllerComparison(const QString& path, QWidget* parent);

// The three actions in the "Сервис" menu; the first two are enabled while connected.
void InstallSafetyDialogs(TForm1& form);
