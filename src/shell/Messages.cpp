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
    box.exec();
    return box.clickedButton() != no;
}
