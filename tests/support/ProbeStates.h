#pragma once
// The loop of a probe that a screen reader's check drives: each line of standard input names a
// state, which the probe shows and then answers "shown <name>" (or "unknown <name>") on
// standard output. "ready" is said once the event loop runs; the end of the input ends it.

#include <QByteArray>

#include <functional>
#include <map>

namespace ProbeStates {

using States = std::map<QByteArray, std::function<void()>>;

// One line on standard output, at once.
void Say(const QByteArray& line);

// Runs the application's event loop, showing `states` as they are named; returns its code.
int Serve(const States& states);

} // namespace ProbeStates
