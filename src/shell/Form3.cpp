#include "Form3.h"

#include "AppLook.h"
#include "Pictures.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TForm3* Form3 = nullptr;

namespace {

constexpr QSize ClientSize{369, 154};

} // namespace

QStringList TForm3::AboutLines() {
    return {
        QStringLiteral("   Газовая инжекторная "),
        QStringLiteral("     система Tarvik-Q5 с "),
        QStringLiteral("   обратной связью по "),
        QStringLiteral("    датчику кислорода."),
        QStringLiteral("    "),
        QStringLiteral("    Version 05.03Q5 , 2002"),
        QString(),
        QStringLiteral("ООО \"Тарвик-Электро\""),
        QStringLiteral("тел. (000) 555-01-23"),
        QStringLiteral(" "),
        QStringLiteral(" Техническая поддержка"),
        QStringLiteral(" example.com/tarvik-q5"),
    };
}

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Инфо"));
    setFont(AppLook::WindowFont());
    setFixedSize(ClientSize); // never moved by hand: the dialog centres itself when shown
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(4, 8, 199, 137);
    Image1->setPixmap(Pictures::ControllerUnit());

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(212, 8, 153, 113);
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->viewport()->setCursor(Qt::ArrowCursor);
    Memo1->setPlainText(AboutLines().join(QLatin1Char('\n')));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(291, 128, 75, 20);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
}

void TForm3::Button1Click() {
    accept();
}
