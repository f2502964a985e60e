#include "Messages.h"

#include "Captions.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace {
InformationPresenter informationPresenter;
ConfirmPresenter confirmPresenter;
} // namespace

void SetInformationPresenter(InformationPresenter presenter) {
    informationPresenter = std::move(presenter);
}

void SetConfirmPresenter(ConfirmPresenter presenter) {
    confirmPresenter = std::move(presenter);
}

void ShowInformation(const QString& text) {
    if (informationPresenter) {
        informationPresenter(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, BaseCaption(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool Confirm(const QString& text) {
    if (confirmPresenter)
        return confirmPresenter(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    // The box reports its escape button also when its close box shuts it; only a real
    // "No" (the button or Esc, which clicks it) stops.
    bool answeredNo = false;
    QObject::connect(no, &QPushButton::clicked, &box, [&answeredNo] { answeredNo = true; });
    box.exec();
    return !answeredNo;
}

bool ConfirmRisk(const QString& text) {
    if (confirmPresenter)
        return confirmPresenter(text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    bool answeredYes = false;
    QObject::connect(yes, &QPushButton::clicked, &box, [&answeredYes] { answeredYes = true; });
    box.exec();
    return answeredYes;
}
