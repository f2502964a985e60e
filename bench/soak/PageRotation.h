#pragma once
// Shows the main window's pages in turn, so that every polled display on them gets its
// time on screen: each page of "Двигатель" and "Термо датчик", then "Сервис".

#include <QObject>
#include <QTimer>

class TForm1;

// The views shown in turn; one full turn shows every polled display's page once.
inline constexpr int PageViewCount = 5;

class PageRotation : public QObject {
    Q_OBJECT
public:
    PageRotation(TForm1& form, int intervalMs);
    void start();

private:
    void showNext();

    TForm1& form_;
    QTimer timer_;
    int next_ = 0;
};
