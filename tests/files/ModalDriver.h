#pragma once
// Drives the modal dialogs and message boxes that a handler opens with exec(): each step runs
// once a modal widget of its type is active, in the order the steps were given.
//
//     ModalDriver driver;
//     driver.then<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); })
//           .then<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
//     N3Click();

#include <QApplication>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

class ModalDriver : public QObject {
    Q_OBJECT
public:
    ModalDriver();

    template <class Widget> ModalDriver& then(std::function<void(Widget*)> action) {
        steps_.push_back([action](QWidget* active) {
            auto* widget = qobject_cast<Widget*>(active);
            if (!widget)
                return false;
            action(widget);
            return true;
        });
        return *this;
    }

    int pending() const { return static_cast<int>(steps_.size()); }

private:
    void poll();

    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> steps_;
};
