#include "PageRotation.h"

#include "Form1.h"

#include <QTabWidget>

#include <iterator>

namespace {

// A page of the top page control, and the page of its nested page control, if it has one.
struct PageView {
    QWidget* TForm1::*page;
    QTabWidget* TForm1::*nested;
    QWidget* TForm1::*nestedPage;
};

constexpr PageView Views[] = {
    {&TForm1::TabSheet2, &TForm1::PageControl3, &TForm1::TabSheet6}, // oxygen sensor voltage
    {&TForm1::TabSheet2, &TForm1::PageControl3, &TForm1::TabSheet7}, // throttle sensor voltage
    {&TForm1::TabSheet2, &TForm1::PageControl3, &TForm1::TabSheet1},
    {&TForm1::TabSheet3, &TForm1::PageControl2, &TForm1::TabSheet5}, // temperature sensor
    {&TForm1::TabSheet4, nullptr, nullptr},                          // supply voltage
};

static_assert(std::size(Views) == PageViewCount);

} // namespace

PageRotation::PageRotation(TForm1& form, int intervalMs) : form_(form) {
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &PageRotation::showNext);
}

void PageRotation::start() {
    showNext();
    timer_.start();
}

void PageRotation::showNext() {
    const PageView& view = Views[next_];
    next_ = (next_ + 1) % PageViewCount;
    form_.PageControl1->setCurrentWidget(form_.*view.page);
    if (view.nested)
        (form_.*view.nested)->setCurrentWidget(form_.*view.nestedPage);
}
