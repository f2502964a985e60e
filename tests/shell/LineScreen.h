#pragma once
// The production line window mid-batch: one good station waiting for its label's scan, one
// bad, one at work, one waiting; and a label as printed.

#include <QDir>

bool SaveLineWindow(const QDir& dir);
bool SaveLabel(const QDir& dir, const QString& serial);
