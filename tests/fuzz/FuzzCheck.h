#pragma once
// A broken invariant stops the fuzzer with abort(), which it records as a crash together with
// the input that caused it.

#include <QString>

// Prints "invariant broken: <what> (<detail>)" to stderr and aborts unless `holds`.
void Require(bool holds, const char* what, const QString& detail = {});

// A long double written with all its digits, for the messages.
QString Exact(long double x);
