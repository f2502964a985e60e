#pragma once
// The components a window owns, in the order in which it created them.
// InitAll and PassAll visit this list, not whatever a child search would return.

#include <QObject>
#include <QPointer>

#include <vector>

class ComponentList {
public:
    void Add(QObject* component) { items_.emplace_back(component); }
    const std::vector<QPointer<QObject>>& Items() const { return items_; }

private:
    std::vector<QPointer<QObject>> items_;
};
