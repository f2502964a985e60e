#pragma once
// The line's figures on the day sheet: per station, the failure reasons, per operator.

#include "LineFigures.h"
#include "Sheet.h"

#include <vector>

std::vector<Sheets::Section> FigureSections(const LineFigures& figures);
