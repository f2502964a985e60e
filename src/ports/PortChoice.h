#pragma once
// The user's choice of devices for COM1..COM4, kept in the tool's preferences.

#include "PortNames.h"

#include <QStringList>

namespace PortChoice {

// The remembered choice, or none when the user has not chosen.
PortNames::Choice Load();

// Remembers PortNames::PortCount device names (empty: no device on that port).
void Save(const QStringList& devices);

// Forgets the choice: the default mapping applies again.
void Forget();

// Makes the port mapping follow the remembered choice.
void Install();

} // namespace PortChoice
