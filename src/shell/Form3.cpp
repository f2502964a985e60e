#include "Form3.h"

#include "AppLook.h"
#include "Pictures.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QtMath>

TForm3* Form3 = nullptr;

namespace {

constexpr QSize ClientSize{369, 154};

// The text box of the window description, showing whole lines only: its lines start at the
// top edge, and below the last whole line the box is left blank, scrolled or not.
class WholeLinesBox : public QPlainTextEdit {
public:
    explicit WholeLinesBox(QWidget* parent) : QPlainTextEdit(parent) {
        document()->setDocumentMargin(0);
        setAutoFillBackground(true);
        QPalette blank = palette();
        blank.setColor(QPalette::Window, blank.color(QPalette::Base));
        setPalette(blank);
    }

protected:
    void showEvent(QShowEvent* event) override {
        FitLines(); // the style's frame is known by now
        QPlainTextEdit::showEvent(event);
    }

private:
    static constexpr int LeftPadding = 2;

    void FitLines() {
        // A line as the layout sets it, which can be a pixel taller than the font's height.
        const int line =
            qCeil(document()->documentLayout()->blockBoundingRect(document()->begin()).height());
        if (line > 0)
            setViewportMargins(LeftPadding, 0, 0, contentsRect().height() % line);
    }
};

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

    auto* memo = new WholeLinesBox(this);
    Memo1 = memo;
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
