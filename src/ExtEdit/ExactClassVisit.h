#pragma once
// Calls one routine on every component of a window whose class is exactly T (an object
// of a class derived from T does not match), in the window's creation order.

#include "ComponentList.h"

#include <cstddef>
#include <functional>

// `routine` is a member function of T without arguments or anything callable with a T&.
template <class T, class Routine>
void VisitExactClass(const ComponentList& owner, Routine routine) {
    const auto& items = owner.Items();
    // By index: a routine's callback may add components to the list.
    for (std::size_t i = 0; i < items.size(); ++i) {
        QObject* component = items[i];
        if (component != nullptr && component->metaObject() == &T::staticMetaObject)
            std::invoke(routine, *static_cast<T*>(component));
    }
}
