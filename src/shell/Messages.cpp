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
    QMessageBox box(QMessageBox::NoIcon, BaseCaption(), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setDefaultButton(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole));
    box.exec();
}

namespace {

// The "Confirm" box; true only when its answer was the one that goes on.
bool AskConfirm(const QString& text, QMessageBox::Icon icon, bool yesIsDefault) {
    if (confirmPresenter)
        return confirmPresenter(text);
    QMessageBox box(icon, QStringLiteral("Confirm"), text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
    box.setDefaultButton(yesIsDefault ? yes : no);
    box.setEscapeButton(no);
    // The box reports its escape button also when its close box shuts it, so the buttons'
    // own clicks are counted.
    bool answeredYes = false;
    bool answeredNo = false;
    QObject::connect(yes, &QPushButton::clicked, &box, [&answeredYes] { answeredYes = true; });
    QObject::connect(no, &QPushButton::clicked, &box, [&answeredNo] { answeredNo = true; });
    box.exec();
    // Closing the ordinary box goes on; closing the risky one does not.
    return yesIsDefault ? !answeredNo : answeredYes;
}

} // namespace

bool Confirm(const QString& text) {
    return AskConfirm(text, QMessageBox::Question, true);
}

bool ConfirmRisk(const QString& text) {
    return AskConfirm(text, QMessageBox::Warning, false);
}
