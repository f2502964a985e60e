// Renders a few value controls of each kind to a PNG, for a look by eye.

#include "TExtText.h"
#include "TSpinButton.h"
#include "TSpinExtEdit.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QTest>

namespace {

TSpinExtEdit* AddSpin(QWidget* parent, QRect at, const QString& mask, long double min,
                      long double max, long double value) {
    auto* spin = new TSpinExtEdit(parent);
    spin->SetBounds(at.x(), at.y(), at.width(), at.height());
    spin->SetValueFormat(mask);
    spin->SetValueMin(min);
    spin->SetValueMax(max);
    spin->SetValue(value);
    return spin;
}

TExtText* AddText(QWidget* parent, QRect at, const QString& caption, const QString& mask,
                  long double value, TExtText::Border border) {
    auto* text = new TExtText(parent);
    text->SetBounds(at.x(), at.y(), at.width(), at.height());
    text->SetBorderStyle(border);
    text->SetValueCaption(caption);
    text->SetValueFormat(mask);
    text->SetValue(value);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(420, 330);
    window.setWindowTitle(u"Value controls"_qs);

    auto* edits = new QGroupBox(u"Spin edits"_qs, &window);
    edits->setGeometry(8, 8, 404, 150);
    auto* clamped = AddSpin(edits, {10, 24, 169, 25}, u"#####0.00 Volt"_qs, 0.0001L, 5.0L, 4.5L);
    AddSpin(edits, {200, 24, 85, 25}, u"##0 °С"_qs, 20.0L, 100.0L, 60.0L);
    auto* small = AddSpin(edits, {10, 60, 169, 21}, u"Vref ##0.00 Volt"_qs, 4.5L, 6.5L, 5.0L);
    QFont layoutFont = small->font();
    layoutFont.setPixelSize(13);
    small->setFont(layoutFont);
    AddSpin(edits, {200, 60, 190, 21}, u"            #0.0 %"_qs, -99.0L, 500.0L, -5.5L);
    auto* disabled = AddSpin(edits, {10, 95, 180, 25}, u"#####0 Об/мин"_qs, 1000, 4000, 2500);
    disabled->Pass();
    auto* pressed = AddSpin(edits, {200, 95, 120, 25}, u"##0.0 %"_qs, 0.1L, 10.0L, 2.5L);

    auto* texts = new QGroupBox(u"Polled displays"_qs, &window);
    texts->setGeometry(8, 166, 404, 156);
    AddText(texts, {10, 24, 380, 25}, u"Напряжение датчика"_qs, u"#####0.00 Вольт"_qs, 0.456L,
            TExtText::Border::Sunken);
    AddText(texts, {10, 56, 180, 25}, u"Тек."_qs, u"#0.00 mS"_qs, 2.5L, TExtText::Border::Single);
    AddText(texts, {200, 56, 180, 25}, u""_qs, u"###0 Об/мин"_qs, 850.0L, TExtText::Border::None);
    auto* coloured =
        AddText(texts, {10, 88, 120, 21}, u""_qs, u"##0°С"_qs, 90.0L, TExtText::Border::Sunken);
    coloured->SetColor(QColor(255, 255, 200));
    coloured->setAlignment(Qt::AlignCenter);
    auto* passive =
        AddText(texts, {200, 88, 120, 25}, u""_qs, u"#0.0 V"_qs, 13.8L, TExtText::Border::Sunken);
    passive->Pass();

    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    // A typed number beyond the bound, with the remark that stands under the field for a moment.
    clamped->setText(u"9"_qs);
    clamped->setModified(true);
    clamped->ApplyText();
    QTest::mousePress(pressed->SpinButton(), Qt::LeftButton, {},
                      pressed->SpinButton()->DownRect().center());

    const QString dir = QStringLiteral(Q5_SCREENS_DIR);
    QDir().mkpath(dir);
    const QString file = dir + u"/gallery-extedit.png"_qs;
    const QPixmap shot = window.grab();
    // A three-times enlargement shows the pixels of the small parts.
    const QPixmap enlarged =
        shot.scaled(shot.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const bool saved = shot.save(file) && enlarged.save(dir + u"/gallery-extedit-x3.png"_qs);
    QTest::mouseRelease(pressed->SpinButton(), Qt::LeftButton, {},
                        pressed->SpinButton()->DownRect().center());
    if (!saved)
        return 1;
    qInfo("%s", qPrintable(file));
    return 0;
}
