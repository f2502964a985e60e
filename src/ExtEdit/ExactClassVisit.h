#pragma once
// Calls one routine on every component of a window whose class is exactly T (an object
// of a class derived from T does not match), in the window's creation order.

#include "ComponentList.h"

#include <cstddef>

template <class T> void VisitExactClass(const ComponentList& owner, void (T::*routine)()) {
    const auto& items = owner.Items();
    // By index: a routine's callback may add components to the list.
    for (std::size_t i = 0; i < items.size(); ++i) {
        QObject* component = items[i];
        if (component != nullptr && component->metaObject() == &T::staticMetaObject)
            (static_cast<T*>(component)->*routine)();
    }
}
