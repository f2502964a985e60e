#pragma once
// A sheet for paper: the workshop's and the technician's names (remembered in the
// preferences, both optional), then "Просмотр…", "Печать…" and "Сохранить PDF…". It is handed
// how to make the sheet, the PDF's proposed name, the preferences and the handler that takes
// the errors of what it does; it knows neither the link nor the main window.

#include "Sheet.h"

#include <QDialog>

#include <functional>
#include <memory>

class QLineEdit;
class QPrinter;
class QSettings;

// A name the dialog asks for: its label, the preference it is remembered under (none when
// empty), and the text it starts with while none is remembered.
struct SheetNameField {
    QString label;
    QString key;
    QString fallback;
};
// The two names a sheet asks for: the workshop and its technician unless others are given.
struct SheetNames {
    SheetNameField first{QStringLiteral("Мастерская"), QStringLiteral("sheets/workshop"), {}};
    SheetNameField second{QStringLiteral("Мастер"), QStringLiteral("sheets/technician"), {}};
};

class SheetDialog : public QDialog {
    Q_OBJECT
public:
    using Make = std::function<Sheets::Sheet(const Sheets::Identity&)>;
    using Run = std::function<void(const std::function<void()>&)>;

    // `identity` names the tool and the controller or the file; the dialog adds the names
    // (identity.workshop the first, identity.technician the second).
    SheetDialog(const QString& subject, Sheets::Identity identity, Make make, QString proposedName,
                std::unique_ptr<QSettings> preferences, Run run, QWidget* parent = nullptr,
                SheetNames names = {});
    ~SheetDialog() override;

    // The sheet as it stands with the names typed in.
    Sheets::Sheet Sheet() const;
    // The PDF's proposed path: the proposed name in the folder where a PDF was last saved (the
    // documents folder the first time).
    QString ProposedPath() const;
    // Writes the PDF through the handler; true when it is there.
    bool SavePdfTo(const QString& path);

    void Preview();
    void Print();
    void SavePdf();

signals:
    // The sheet was written to `path` as a PDF.
    void pdfSaved(const QString& path);

private:
    void RememberNames() const;

    Sheets::Identity identity_;
    Make make_;
    QString proposedName_;
    std::unique_ptr<QSettings> preferences_;
    Run run_;
    SheetNames names_;
    QLineEdit* workshop_ = nullptr;
    QLineEdit* technician_ = nullptr;
};

// The tool's name and version, as a sheet's header gives them.
QString ToolNameAndVersion();
