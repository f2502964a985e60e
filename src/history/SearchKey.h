#pragma once
// What a controller is found by as one types: the text folded so that case, blanks and the
// Cyrillic letters of a number plate typed as their Latin twins (А/A, В/B, Е/E, К/K, М/M, Н/H,
// О/O, Р/P, С/C, Т/T, У/Y, Х/X), and Ё for Е, do not matter.

#include <QString>

namespace SearchKey {

QString Folded(const QString& text);

} // namespace SearchKey
