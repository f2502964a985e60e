#pragma once
// The production line window mid-batch: one good station, one bad, one at work, one waiting.

#include <QDir>

bool SaveLineWindow(const QDir& dir);
