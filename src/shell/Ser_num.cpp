#include "Ser_num.h"

#include "AppLook.h"
#include "Connection.h"
#include "ControllerSession.h"
#include "DateText.h"
#include "DeviceIdentity.h"
#include "ErrorHandler.h"
#include "Form1.h"
#include "ProductionLog.h"
#include "WindowSession.h"
#include "WriteOperation.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm2* Form2 = nullptr;

namespace {

// The window description's 347 × 71 and a line below it for the production log's path.
constexpr QSize ClientSize{347, 91};
constexpr QRect LogPlace{8, 70, 333, 17};
constexpr QPoint ScreenPosition{200, 164};
constexpr int SerialMaxLength = 32;
constexpr int SerialFontPixels = 16;

void PaintBlue(QWidget* widget, QPalette::ColorRole role) {
    widget->setFont(AppLook::Font(AppLook::CourierFace, SerialFontPixels));
    QPalette palette = widget->palette();
    palette.setColor(role, AppLook::Blue);
    widget->setPalette(palette);
}

QPushButton* PlainButton(const QString& caption, const QRect& place, QWidget* owner) {
    auto* button = new QPushButton(caption, owner);
    button->setGeometry(place);
    // No default button: Enter does not write a serial number by accident.
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Серийный номер"));
    setFont(AppLook::WindowFont());
    setFixedSize(ClientSize);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    move(ScreenPosition);

    Button1 = PlainButton(QStringLiteral("OK"), QRect(184, 44, 75, 21), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = PlainButton(QStringLiteral("ОТМЕНА"), QRect(266, 44, 75, 21), this);
    Button2->setObjectName(QStringLiteral("Button2"));

    Edit1 = new QLineEdit(QStringLiteral("123456789012345678901234"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 4, 249, 26);
    Edit1->setMaxLength(SerialMaxLength);
    PaintBlue(Edit1, QPalette::Text);

    Label1 = new QLabel(QStringLiteral("00.00.00"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // Five pixels wider than the window description's 80, so that the eight characters of the
    // date are not cut on the metric-compatible Courier.
    Label1->setGeometry(260, 7, 85, 18);
    PaintBlue(Label1, QPalette::WindowText);

    LogLabel = new QLabel(this);
    LogLabel->setObjectName(QStringLiteral("LogLabel"));
    LogLabel->setGeometry(LogPlace);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Edit1);

    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);

    FormCreate();
}

void TForm2::FormCreate() {
    Label1->setText(DateText::TodayForDevice());
}

void TForm2::FormShow() {
    // Which production log numbers the controllers: a long path shortened in its middle.
    const QString log =
        QStringLiteral("Протокол: %1").arg(QDir::toNativeSeparators(ProductionLog::Path()));
    LogLabel->setText(LogLabel->fontMetrics().elidedText(log, Qt::ElideMiddle, LogPlace.width()));
    LogLabel->setToolTip(log);
    LogLabel->setAccessibleName(log);
    Label1->setToolTip(log);
    if (Form1)
        Edit1->setText(Form1->StaticText1->text());
    // The date that "OK" writes, as it will be written; not the start-up day's.
    Label1->setText(DateText::TodayForDevice());
}

void TForm2::Button1Click() {
    // A second "OK" queued while the controller is written is not another numbering.
    if (writing_)
        return;
    writing_ = true;
    const struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{writing_};
    {
        const WriteOperation operation(SessionOf(*Form1).Operations(),
                                       QStringLiteral("Заводской номер"), QString(),
                                       WriteOperation::Undo::Skip);
        WriteSerialNumber(Edit1->text());
    }
    ReadDeviceIdentity();
    ArmLinkWatch(); // the controller answers with its new serial number from now on
    accept();
}

void TForm2::Button2Click() {
    reject();
}

void TForm2::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    Button1->setFocus();
}
