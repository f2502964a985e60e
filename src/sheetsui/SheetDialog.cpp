#include "SheetDialog.h"

#include "DialogFolder.h"
#include "SheetPages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

#ifndef Q5_VERSION
#error "Q5_VERSION must be defined by the build"
#endif

namespace {

QPushButton* Button(QWidget* parent, const QString& text, const char* name) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLineEdit* NameEdit(QWidget* parent, const QString& text, const char* name,
                    const QString& accessible) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(accessible);
    edit->setPlaceholderText(QStringLiteral("не обязательно"));
    return edit;
}

} // namespace

QString ToolNameAndVersion() {
    return QStringLiteral("Tarvik-Q5 system ") + QStringLiteral(Q5_VERSION);
}

SheetDialog::SheetDialog(const QString& subject, Sheets::Identity identity, Make make,
                         QString proposedName, std::unique_ptr<QSettings> preferences, Run run,
                         QWidget* parent, SheetNames names)
    : QDialog(parent), identity_(std::move(identity)), make_(std::move(make)),
      proposedName_(std::move(proposedName)), preferences_(std::move(preferences)),
      run_(std::move(run)), names_(std::move(names)) {
    setWindowTitle(make_(identity_).title);
    auto* heading = new QLabel(subject, this);
    heading->setObjectName(QStringLiteral("Subject"));
    heading->setWordWrap(true);
    const auto remembered = [this](const SheetNameField& field) {
        const QString text =
            field.key.isEmpty() ? QString() : preferences_->value(field.key).toString();
        return text.isEmpty() ? field.fallback : text;
    };
    workshop_ = NameEdit(this, remembered(names_.first), "Workshop", names_.first.label);
    technician_ = NameEdit(this, remembered(names_.second), "Technician", names_.second.label);
    auto* nameRows = new QFormLayout;
    nameRows->addRow(names_.first.label + u':', workshop_);
    nameRows->addRow(names_.second.label + u':', technician_);

    QPushButton* preview = Button(this, QStringLiteral("Просмотр…"), "PreviewButton");
    QPushButton* print = Button(this, QStringLiteral("Печать…"), "PrintButton");
    QPushButton* pdf = Button(this, QStringLiteral("Сохранить PDF…"), "PdfButton");
    QPushButton* close = Button(this, QStringLiteral("Закрыть"), "CloseButton");
    connect(preview, &QPushButton::clicked, this, &SheetDialog::Preview);
    connect(print, &QPushButton::clicked, this, &SheetDialog::Print);
    connect(pdf, &QPushButton::clicked, this, &SheetDialog::SavePdf);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {preview, print, pdf})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(nameRows);
    layout->addLayout(buttons);
    preview->setDefault(true);
    resize(520, sizeHint().height());
}

SheetDialog::~SheetDialog() {
    RememberNames();
}

Sheets::Sheet SheetDialog::Sheet() const {
    Sheets::Identity identity = identity_;
    identity.workshop = workshop_->text();
    identity.technician = technician_->text();
    return make_(identity);
}

QString SheetDialog::ProposedPath() const {
    return QDir(DialogFolder::Start(*preferences_, DialogFolder::Kind::Pdfs))
        .filePath(proposedName_);
}

void SheetDialog::RememberNames() const {
    for (const auto& [field, edit] :
         {std::pair{&names_.first, workshop_}, std::pair{&names_.second, technician_}})
        if (!field->key.isEmpty())
            preferences_->setValue(field->key, edit->text().trimmed());
}

bool SheetDialog::SavePdfTo(const QString& path) {
    RememberNames();
    bool saved = false;
    run_([&] {
        Sheets::WritePdf(Sheet(), path);
        saved = true;
    });
    if (saved)
        emit pdfSaved(path);
    return saved;
}

void SheetDialog::Preview() {
    RememberNames();
    const Sheets::Sheet sheet = Sheet();
    QPrinter printer(QPrinter::HighResolution);
    Sheets::SetA4(printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(sheet.title);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&sheet](QPrinter* target) { Sheets::Paint(sheet, *target); });
    preview.exec();
}

void SheetDialog::Print() {
    RememberNames();
    QPrinter printer(QPrinter::HighResolution);
    Sheets::SetA4(printer);
    printer.setDocName(proposedName_);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Sheets::Sheet sheet = Sheet();
    run_([&] { Sheets::Paint(sheet, printer); });
}

void SheetDialog::SavePdf() {
    QFileDialog dialog(this, QStringLiteral("Сохранить PDF"), QFileInfo(ProposedPath()).path(),
                       QStringLiteral("Документ PDF (*.pdf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposedName_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    DialogFolder::Remember(*preferences_, DialogFolder::Kind::Pdfs, path);
    SavePdfTo(path);
}
