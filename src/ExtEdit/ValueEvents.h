#pragma once
// Callback types of the value controls.

#include <functional>

class QObject;

// Sender, OldValue, NewValue.
using TChangeEvent =
    std::function<void(QObject* Sender, long double OldValue, long double NewValue)>;
// Sender, QueryCod, ValueAdr, Value (in and out).
using TQueryEvent =
    std::function<void(QObject* Sender, int QueryCod, int ValueAdr, long double& Value)>;
