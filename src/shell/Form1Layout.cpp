#include "Form1Layout.h"

#include "AppLook.h"
#include "Catalogue.h"
#include "Form1.h"
#include "TExtText.h"
#include "TSpinExtEdit.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QComboBox* CreateList(const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setEditable(false);
    // The items by index, as the catalogue gives them: the index is the controller's word.
    if (const Catalogue::Entry* entry = Catalogue::ForControl(name))
        for (const char* item : entry->items)
            list->addItem(QString::fromUtf8(item));
    // No item is selected until the controller's word is read.
    list->setCurrentIndex(-1);
    return list;
}

QSlider* CreateTrackBar(const ControlRow& row, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(0, row.full);
    slider->setValue(row.position);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    return slider;
}

QProgressBar* CreateGauge(const ControlRow& row, QWidget* parent) {
    auto* gauge = new QProgressBar(parent);
    gauge->setRange(0, row.full);
    gauge->setValue(0);
    gauge->setTextVisible(false);
    QPalette palette = gauge->palette();
    palette.setColor(QPalette::Highlight, AppLook::Lime);
    gauge->setPalette(palette);
    return gauge;
}

QWidget* CreatePage(const QString& caption, QWidget* parent) {
    auto* pageControl = qobject_cast<QTabWidget*>(parent);
    Q_ASSERT(pageControl);
    auto* page = new QWidget(pageControl);
    pageControl->addTab(page, caption);
    return page;
}

QWidget* Create(const ControlRow& row, QWidget* parent) {
    const QString caption = QString::fromUtf8(row.caption);
    switch (row.kind) {
    case Kind::Button:
        return new QPushButton(caption, parent);
    case Kind::GroupBox: {
        // Opaque, so that a box covers whatever lies below it.
        auto* box = new QGroupBox(caption, parent);
        box->setAutoFillBackground(true);
        return box;
    }
    case Kind::PageControl: {
        auto* pages = new QTabWidget(parent);
        // A click on a tab takes the focus like a click on any other control, so that a field
        // left for another page commits its typed text while it is still in sight. The tab
        // key reaches the tabs as before.
        pages->tabBar()->setFocusPolicy(Qt::StrongFocus);
        return pages;
    }
    case Kind::TabSheet:
        return CreatePage(caption, parent);
    case Kind::Panel: {
        auto* panel = new QFrame(parent);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        return panel;
    }
    case Kind::Label:
    case Kind::StaticText:
        return new QLabel(caption, parent);
    case Kind::List:
        return CreateList(row.name, parent);
    case Kind::Radio:
        return new QRadioButton(caption, parent);
    case Kind::TrackBar:
        return CreateTrackBar(row, parent);
    case Kind::Gauge:
        return CreateGauge(row, parent);
    case Kind::SpinEdit:
        return new TSpinExtEdit(parent);
    case Kind::Display:
        return new TExtText(parent);
    }
    return nullptr;
}

void Place(const ControlRow& row, QWidget& widget) {
    const QRect& r = row.place;
    if (row.kind == Kind::TabSheet)
        return; // its page control places it
    if (row.kind == Kind::PageControl && r == FillsPage) {
        auto* fill = new QVBoxLayout(widget.parentWidget());
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(&widget);
        return;
    }
    if (auto* spin = qobject_cast<TSpinExtEdit*>(&widget))
        spin->SetBounds(r.x(), r.y(), r.width(), r.height());
    else if (auto* display = qobject_cast<TExtText*>(&widget))
        display->SetBounds(r.x(), r.y(), r.width(), r.height());
    else
        widget.setGeometry(r);
}

void SetMember(TForm1& form, const AnyMember& member, QWidget* widget) {
    std::visit(
        [&](auto pointer) {
            using Widget = std::remove_pointer_t<std::remove_reference_t<decltype(form.*pointer)>>;
            form.*pointer = qobject_cast<Widget*>(widget);
            Q_ASSERT(form.*pointer);
        },
        member);
}

} // namespace

void BuildMainWindow(TForm1& form, QWidget* clientArea) {
    QHash<QString, QWidget*> byName;
    for (const ControlRow& row : MainWindowLayout()) {
        const QString parentName = QString::fromUtf8(row.parent);
        QWidget* parent = parentName.isEmpty() ? clientArea : byName.value(parentName);
        Q_ASSERT(parent);
        QWidget* widget = Create(row, parent);
        const QString name = QString::fromUtf8(row.name);
        widget->setObjectName(name);
        Place(row, *widget);
        if (row.start == Start::Disabled)
            widget->setEnabled(false);
        // The value controls take their font after placement, which sizes it by height.
        ApplyLook(*widget, row.look);
        if (row.kind == Kind::Display)
            static_cast<TExtText*>(widget)->SetValueCaption(QString::fromUtf8(row.caption));
        if (row.start == Start::Hidden)
            widget->hide();
        SetMember(form, row.member, widget);
        form.Components.Add(widget);
        byName.insert(name, widget);
    }
}
