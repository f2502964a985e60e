// The line window's database: the store's row of the setup and its check, the day's or the
// shift's figures, the day's sheet and the day exported from the store. Every call to the store
// runs on the window's store thread; its answer comes back to the window if it is still there.
#include "LineWindow.h"

#include "FigureSections.h"
#include "LineDaySheet.h"
#include "LineSchema.h"
#include "LineStore.h"
#include "ProductionLine.h"
#include "SheetDialog.h"
#include "StationStore.h"
#include "StoreThread.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <stdexcept>

QWidget* LineWindow::MakeStore() {
    auto* inside = new QWidget(this);
    auto* rows = new QVBoxLayout(inside);
    rows->setContentsMargins(0, 0, 0, 0);
    auto* first = new QHBoxLayout;
    storeKind_ = new QComboBox(inside);
    storeKind_->addItems({QStringLiteral("на этом ПК"), QStringLiteral("общая (PostgreSQL)")});
    storeKind_->setAccessibleName(QStringLiteral("База линии"));
    pcName_ = new QLineEdit(inside);
    pcName_->setPlaceholderText(LineSetup().PcName());
    pcName_->setAccessibleName(QStringLiteral("Имя этого ПК в базе"));
    auto* check = new QPushButton(QStringLiteral("Проверить связь"), inside);
    check->setAccessibleName(check->text());
    storeState_ = new QLabel(inside);
    storeState_->setObjectName(QStringLiteral("StoreState"));
    storeState_->setWordWrap(true);
    storeState_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    storeState_->hide(); // until the link to the store was checked
    first->addWidget(storeKind_);
    first->addWidget(new QLabel(QStringLiteral("ПК:"), inside));
    first->addWidget(pcName_, 1);
    first->addWidget(check);
    auto* second = new QHBoxLayout;
    host_ = new QLineEdit(inside);
    host_->setAccessibleName(QStringLiteral("Сервер базы"));
    port_ = new QSpinBox(inside);
    port_->setRange(1, 65535);
    port_->setAccessibleName(QStringLiteral("Порт сервера базы"));
    database_ = new QLineEdit(inside);
    database_->setAccessibleName(QStringLiteral("Имя базы"));
    user_ = new QLineEdit(inside);
    user_->setAccessibleName(QStringLiteral("Пользователь базы"));
    service_ = new QLineEdit(inside);
    service_->setAccessibleName(QStringLiteral("Служба libpq"));
    service_->setToolTip(QStringLiteral("Имя службы из pg_service.conf; пароль берётся из "
                                        "~/.pgpass или файла служб и здесь не хранится."));
    const std::pair<const char*, QWidget*> fields[] = {{"сервер", host_},
                                                       {"порт", port_},
                                                       {"база", database_},
                                                       {"пользователь", user_},
                                                       {"служба", service_}};
    for (const auto& [label, field] : fields) {
        second->addWidget(new QLabel(QString::fromUtf8(label) + u':', inside));
        second->addWidget(field, field == port_ ? 0 : 1);
    }
    rows->addLayout(first);
    rows->addLayout(second);
    rows->addWidget(storeState_);
    connect(storeKind_, &QComboBox::currentIndexChanged, this, [this] {
        ShowStoreKind();
        RefreshFigures();
    });
    connect(check, &QPushButton::clicked, this, &LineWindow::CheckStore);
    return inside;
}

void LineWindow::ShowStoreKind() {
    const bool shared = storeKind_->currentIndex() == 1;
    for (QWidget* field : std::initializer_list<QWidget*>{host_, port_, database_, user_, service_})
        field->setEnabled(shared);
}

QWidget* LineWindow::MakeFigures() {
    auto* inside = new QWidget(this);
    auto* row = new QHBoxLayout(inside);
    row->setContentsMargins(0, 0, 0, 0);
    span_ = new QComboBox(inside);
    span_->addItems({QStringLiteral("за день"), QStringLiteral("за смену")});
    span_->setAccessibleName(QStringLiteral("Итоги за"));
    shiftFrom_ = new QTimeEdit(inside);
    shiftTo_ = new QTimeEdit(inside);
    shiftFrom_->setDisplayFormat(QStringLiteral("HH:mm"));
    shiftTo_->setDisplayFormat(QStringLiteral("HH:mm"));
    shiftFrom_->setAccessibleName(QStringLiteral("Смена с"));
    shiftTo_->setAccessibleName(QStringLiteral("Смена по"));
    figuresText_ = new QLabel(inside);
    figuresText_->setObjectName(QStringLiteral("Figures"));
    figuresText_->setWordWrap(true);
    figuresText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(span_);
    row->addWidget(new QLabel(QStringLiteral("с"), inside));
    row->addWidget(shiftFrom_);
    row->addWidget(new QLabel(QStringLiteral("по"), inside));
    row->addWidget(shiftTo_);
    row->addWidget(figuresText_, 1);
    const auto changed = [this] {
        shiftFrom_->setEnabled(span_->currentIndex() == 1);
        shiftTo_->setEnabled(span_->currentIndex() == 1);
        LineSetup setup = LineSetup::Load(*place_.preferences());
        setup.byShift = span_->currentIndex() == 1;
        setup.shiftFrom = shiftFrom_->time();
        setup.shiftTo = shiftTo_->time();
        setup.Save(*place_.preferences());
        RefreshFigures();
    };
    connect(span_, &QComboBox::currentIndexChanged, this, changed);
    connect(shiftFrom_, &QTimeEdit::editingFinished, this, changed);
    connect(shiftTo_, &QTimeEdit::editingFinished, this, changed);
    return inside;
}

void LineWindow::RefreshFigures() {
    const LineSetup setup = SetupShown();
    const LineStoreUse use = setup.StoreUse(place_.dataFolder);
    const QDateTime now = QDateTime::currentDateTime();
    const LineSpan span = setup.byShift ? LineSpan::Shift(setup.shiftFrom, setup.shiftTo, now)
                                        : LineSpan::Day(now.date());
    QPointer<LineWindow> window(this);
    storeThread_->Post([window, use, span, now] {
        QString failure;
        std::optional<LineFigures> figures;
        try {
            StoreDatabase db(use.place, {&LineSchema()});
            figures = LineFigures::Of(LineStore(db).Attempts(span.from, span.to), span, now);
        } catch (const StoreError& e) {
            failure = e.text();
        }
        QMetaObject::invokeMethod(
            qApp,
            [window, figures, failure] {
                if (!window)
                    return;
                if (figures)
                    window->ShowFigures(*figures);
                else
                    window->figuresText_->setText(QStringLiteral("Итогов нет: ") + failure);
                window->figuresText_->setAccessibleName(window->figuresText_->text());
                emit window->figuresShown();
            },
            Qt::QueuedConnection);
    });
}

void LineWindow::ShowFigures(const LineFigures& figures) {
    figures_ = figures;
    figuresText_->setText(figures.Summary());
    QStringList stations;
    for (const LineFigures::Station& s : figures.stations)
        stations << QStringLiteral("%1, место %2: %3 в час")
                        .arg(s.pc)
                        .arg(s.station)
                        .arg(qRound(s.perHour));
    figuresText_->setToolTip(stations.join(u'\n'));
}

void LineWindow::CheckStore() {
    const LineStoreUse use = SetupShown().StoreUse(place_.dataFolder);
    storeState_->setText(QStringLiteral("Проверка связи с базой…"));
    storeState_->show();
    storeState_->setAccessibleName(storeState_->text());
    QPointer<LineWindow> window(this);
    storeThread_->Post([window, use] {
        QString text;
        try {
            StoreDatabase db(use.place, {&LineSchema()});
            text = db.ReadOnly()
                       ? db.ReadOnlyReason()
                       : QStringLiteral("Связь с базой есть, номера и отчёты идут в неё.");
        } catch (const StoreError& e) {
            text = e.text();
        }
        QMetaObject::invokeMethod(
            qApp,
            [window, text] {
                if (!window)
                    return;
                window->storeState_->setText(text);
                window->storeState_->setAccessibleName(text);
                emit window->storeChecked(text);
            },
            Qt::QueuedConnection);
    });
}

void LineWindow::ShowDaySheet() {
    const QDate day = QDate::currentDate();
    const QString path = line_->Report().PathFor(day);
    Sheets::Identity identity;
    identity.tool = ToolNameAndVersion();
    // The figures as last shown: the store is never waited for here.
    auto make = [day, path, figures = figures_](const Sheets::Identity& named) {
        Sheets::Sheet sheet = Sheets::LineDaySheet(
            day, LineReport::Read(path), named,
            QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")));
        if (figures)
            for (Sheets::Section& section : FigureSections(*figures))
                sheet.sections.insert(sheet.sections.end() - 1, std::move(section));
        return sheet;
    };
    SheetDialog dialog(
        QStringLiteral("Итоги линии за %1 из отчёта %2.")
            .arg(day.toString(QStringLiteral("dd.MM.yyyy")), QDir::toNativeSeparators(path)),
        identity, make, QStringLiteral("Линия %1.pdf").arg(day.toString(Qt::ISODate)),
        place_.preferences(), place_.run, this,
        {{QStringLiteral("Предприятие"), QStringLiteral("line/factory"), {}},
         {QStringLiteral("Оператор"), QString(), operator_->text().trimmed()}});
    dialog.exec();
}

void LineWindow::ExportDay() {
    const QDate day = QDate::currentDate();
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Выгрузить день из базы линии"),
        QDir(place_.dataFolder)
            .filePath(QStringLiteral("Линия %1 (все ПК).csv").arg(day.toString(Qt::ISODate))),
        QStringLiteral("Таблицы CSV (*.csv)"));
    if (path.isEmpty())
        return;
    const LineStoreUse use = SetupShown().StoreUse(place_.dataFolder);
    QPointer<LineWindow> window(this);
    storeThread_->Post([window, use, day, path] {
        QString failure;
        int rows = 0;
        try {
            StoreDatabase db(use.place, {&LineSchema()});
            const LineSpan span = LineSpan::Day(day);
            QList<UnitRecord> records;
            for (const LineAttempt& attempt : LineStore(db).Attempts(span.from, span.to))
                records << RecordOf(attempt);
            rows = static_cast<int>(records.size());
            LineReport::Export(path, records);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
        QMetaObject::invokeMethod(
            qApp,
            [window, failure, rows, path] {
                if (!window)
                    return;
                if (failure.isEmpty())
                    QMessageBox::information(window, window->windowTitle(),
                                             QStringLiteral("Выгружено строк: %1, файл %2.")
                                                 .arg(rows)
                                                 .arg(QDir::toNativeSeparators(path)));
                else
                    QMessageBox::warning(window, window->windowTitle(),
                                         QStringLiteral("День не выгружен: ") + failure);
            },
            Qt::QueuedConnection);
    });
}
