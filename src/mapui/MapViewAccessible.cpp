#include "MapViewAccessible.h"

#include "MapView.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

namespace {

class CellInterface : public QAccessibleInterface {
public:
    CellInterface(MapView* view, int index) : view_(view), index_(index) {}

    bool isValid() const override { return view_ && index_ < view_->Rows() * view_->Columns(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return view_ ? QAccessible::queryAccessibleInterface(view_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return view_->CellName(Cell());
        if (t == QAccessible::Description)
            return view_->CellDetails(Cell());
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect local = view_->CellRect(Cell());
        return QRect(view_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        if (isValid()) {
            const std::vector<MapCell>& trail = view_->Trail();
            state.focused = !trail.empty() && trail.back() == Cell();
        }
        return state;
    }

private:
    MapCell Cell() const { return {index_ / view_->Columns(), index_ % view_->Columns()}; }

    QPointer<MapView> view_;
    int index_;
};

class TableInterface : public QAccessibleWidget {
public:
    explicit TableInterface(MapView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~TableInterface() override {
        for (QAccessible::Id id : cells_)
            if (id)
                QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return View()->Rows() * View()->Columns(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (size_t(index) >= cells_.size())
            cells_.resize(size_t(index) + 1, 0);
        QAccessible::Id& id = cells_[size_t(index)];
        if (!id)
            id = QAccessible::registerAccessibleInterface(new CellInterface(View(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (size_t i = 0; i < cells_.size(); ++i)
            if (cells_[i] && QAccessible::accessibleInterface(cells_[i]) == child)
                return int(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const std::optional<MapCell> cell = View()->CellAt(View()->mapFromGlobal(QPoint(x, y)));
        return cell ? child(cell->row * View()->Columns() + cell->column) : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name)
            return View()->Caption().isEmpty() ? View()->accessibleName() : View()->Caption();
        return QAccessibleWidget::text(t);
    }

private:
    MapView* View() const { return static_cast<MapView*>(widget()); }
    mutable std::vector<QAccessible::Id> cells_;
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("MapView"))
        return nullptr;
    auto* view = qobject_cast<MapView*>(object);
    return view ? new TableInterface(view) : nullptr;
}

} // namespace

namespace MapViewAccessible {

void Install() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

} // namespace MapViewAccessible
