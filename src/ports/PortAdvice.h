#pragma once
// The advice that follows "Прибор не обнаружен !": each port that could not be opened or
// stayed silent, and why.

#include "PortTrouble.h"

#include <QString>

#include <vector>

namespace PortAdvice {

// What to tell of one port's trouble.
QString ReasonText(const PortTroubleNote& note);

// The whole advice, or an empty string when there is nothing to explain.
QString Text(const std::vector<PortTroubleNote>& notes);

} // namespace PortAdvice
