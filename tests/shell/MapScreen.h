#pragma once
// The correction map: live mid-drive (the trail of the last seconds outlined), and a drive
// before and after a change side by side with their difference.

#include <QDir>

bool SaveMapWindows(const QDir& dir);
