#include "MapWindow.h"

#include "Catalogue.h"
#include "ChangeJournal.h"
#include "ConnectionEvents.h"
#include "DialogFolder.h"
#include "InOutError.h"
#include "JournalFeed.h"
#include "LogError.h"
#include "LogFormat.h"
#include "MapCsv.h"
#include "MapLive.h"
#include "MapNames.h"
#include "MapSheet.h"
#include "MapView.h"
#include "SheetPages.h"
#include "ToolData.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Карта коррекции");

QString LogsFolder() {
    return DialogFolder::Start(*ToolData::Preferences(), DialogFolder::Kind::Logs);
}

void LoadLayout(QSettings& settings, MapLayout& layout, int& minimum) {
    settings.beginGroup(QStringLiteral("map"));
    layout.value = MapValue(settings.value(QStringLiteral("value"), int(layout.value)).toInt());
    if (layout.value < MapValue::Trim || layout.value > MapValue::Column)
        layout.value = MapValue::Trim;
    layout.column = settings.value(QStringLiteral("column")).toString();
    layout.axis = settings.value(QStringLiteral("axis")).toInt() == 1 ? LoadAxis::Manifold
                                                                      : LoadAxis::Injection;
    layout.load = MapLayout::DefaultLoad(layout.axis);
    auto bands = [&](const QString& key, Bands& b) {
        const Bands read{settings.value(key + QStringLiteral("First"), b.first).toDouble(),
                         settings.value(key + QStringLiteral("Last"), b.last).toDouble(),
                         settings.value(key + QStringLiteral("Width"), b.width).toDouble()};
        if (read.Valid())
            b = read;
    };
    bands(QStringLiteral("speed"), layout.speed);
    bands(QStringLiteral("load"), layout.load);
    minimum = std::max(1, settings.value(QStringLiteral("minimum"), minimum).toInt());
    settings.endGroup();
}

void SaveLayout(QSettings& settings, const MapLayout& layout, int minimum) {
    settings.beginGroup(QStringLiteral("map"));
    settings.setValue(QStringLiteral("value"), int(layout.value));
    settings.setValue(QStringLiteral("column"), layout.column);
    settings.setValue(QStringLiteral("axis"), layout.axis == LoadAxis::Manifold ? 1 : 0);
    auto bands = [&](const QString& key, const Bands& b) {
        settings.setValue(key + QStringLiteral("First"), b.first);
        settings.setValue(key + QStringLiteral("Last"), b.last);
        settings.setValue(key + QStringLiteral("Width"), b.width);
    };
    bands(QStringLiteral("speed"), layout.speed);
    bands(QStringLiteral("load"), layout.load);
    settings.setValue(QStringLiteral("minimum"), minimum);
    settings.endGroup();
}

// A label named for what it tells: its text, which changes, reaches a screen reader as its
// description.
void Show(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
}

} // namespace

MapWindow::MapWindow(LiveFeed& feed, JournalFeed& writes, ConnectionEvents& events, QWidget* parent)
    : QWidget(parent, Qt::Window), feed_(feed), liveStart_(std::chrono::steady_clock::now()) {
    setWindowTitle(Title);
    setAccessibleName(Title);
    {
        const auto settings = ToolData::Preferences();
        LoadLayout(*settings, layout_, minimumCount_);
        filters_ = MapFilters::Load(*settings);
    }
    BuildControls();
    connect(&feed_, &LiveFeed::sampled, this, &MapWindow::AddSample);
    connect(&writes, &JournalFeed::recorded, this, &MapWindow::AddWrite);
    connect(&events, &ConnectionEvents::connected, this, [this] { SetConnected(true); });
    connect(&events, &ConnectionEvents::closed, this, [this] { SetConnected(false); });
    ShowLive();
}

MapWindow::~MapWindow() = default;

void MapWindow::Remember() const {
    const auto settings = ToolData::Preferences();
    SaveLayout(*settings, layout_, minimumCount_);
    filters_.Save(*settings);
}

void MapWindow::SetLayout(const MapLayout& layout) {
    layout_ = layout;
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::SetFilters(const MapFilters& filters) {
    filters_ = filters;
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::SetMinimumCount(int count) {
    minimumCount_ = std::max(1, count);
    Remember();
    ShowControls();
    Rebuild();
}

void MapWindow::Rebuild() {
    builder_ = std::make_unique<MapBuilder>(layout_, filters_);
    if (IsLive())
        MapLogs::Fold(*builder_, live_);
    else
        MapLogs::Fold(*builder_, logs_);
    before_.reset();
    if (!beforeLogs_.empty()) {
        before_ = std::make_unique<MapBuilder>(layout_, filters_);
        MapLogs::Fold(*before_, beforeLogs_);
        difference_ = MapDifference(before_->Table(), builder_->Table(), minimumCount_);
    }
    view_->ShowTable(&builder_->Table(), minimumCount_);
    view_->SetCaption(Caption(HasBefore() ? QStringLiteral("после") : QString()));
    beforeView_->setVisible(HasBefore());
    differenceView_->setVisible(HasBefore());
    clearBefore_->setEnabled(HasBefore());
    if (HasBefore()) {
        beforeView_->ShowTable(&before_->Table(), minimumCount_);
        beforeView_->SetCaption(Caption(QStringLiteral("до")));
        differenceView_->ShowDifference(&difference_, layout_);
        differenceView_->SetCaption(QStringLiteral("Разница «после» − «до»"));
    }
    std::vector<MapCell> trail;
    for (const auto& [seconds, cell] : trail_)
        if (trail.empty() || !(trail.back() == cell))
            trail.push_back(cell);
    if (IsLive())
        view_->SetTrail(trail);
    ShowSources();
    ShowCounts();
}

void MapWindow::ShowSources() {
    files_->clear();
    for (const MapLog& log : logs_)
        files_->addItem(MapLogs::SpanText(log));
    for (const MapLog& log : beforeLogs_)
        files_->addItem(QStringLiteral("«до» ") + MapLogs::SpanText(log));
    files_->setVisible(files_->count() > 0);
    if (IsLive())
        Show(sourceLabel_, QStringLiteral("Живая карта: клетки заполняются по ходу поездки."));
    else
        Show(sourceLabel_, QStringLiteral("Записи, сложенные в одну карту: %1.").arg(logs_.size()));
    live_button_->setEnabled(!IsLive());
}

QString MapWindow::Note() const {
    QStringList lines;
    if (IsLive() && !connected_)
        lines << QStringLiteral("Прибор не подключён: живая карта заполнится после "
                                "подключения. Или откройте запись.");
    for (const std::vector<MapLog>* logs : {&logs_, &beforeLogs_})
        for (const MapLog& log : *logs) {
            const QString note = MapLogs::Note(log, layout_);
            if (!note.isEmpty())
                lines << note;
        }
    const DropCounts& dropped = Dropped();
    if (Table().Samples() == 0 && (!IsLive() || live_.Rows() > 0))
        lines << MapFilterTexts::EmptyNote(dropped);
    else if (Table().Samples() > 0)
        lines << QStringLiteral("В таблице %1; пропусков связи %2, вне таблицы %3.")
                     .arg(MapNames::SamplesText(dropped.kept), QString::number(dropped.gaps),
                          QString::number(dropped.outside));
    return lines.join(QLatin1Char('\n'));
}

void MapWindow::ShowCounts() {
    const DropCounts& dropped = Dropped();
    for (MapFilter filter : AllMapFilters) {
        QLabel* label = filterDropped_[size_t(filter)];
        label->setText(filters_.For(layout_).On(filter) ? QStringLiteral("−%1").arg(dropped[filter])
                                                        : QString());
        label->setAccessibleDescription(
            QStringLiteral("отброшено %1").arg(MapNames::SamplesText(dropped[filter])));
    }
    Show(note_, Note());
    if (HasBefore())
        Show(compare_, QStringLiteral("Ближе к нулю: %1, дальше от нуля: %2 (клеток, где "
                                      "в обеих картах не меньше %3).")
                           .arg(difference_.Count(Movement::Towards))
                           .arg(difference_.Count(Movement::Away))
                           .arg(MapNames::SamplesText(minimumCount_)));
    else
        Show(compare_, QStringLiteral("Карты «до» нет: её можно открыть из записи или "
                                      "сделать из этой."));
}

void MapWindow::SetConnected(bool connected) {
    connected_ = connected;
    if (!connected) {
        trail_.clear();
        view_->SetTrail({});
    }
    UpdateDemand();
    ShowCounts();
}

double MapWindow::LiveSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - liveStart_).count();
}

void MapWindow::AppendLive(double seconds, const LiveSample& sample) {
    // Every live value a column, then the trim and its state, as a recording lays them out.
    const std::vector<const Catalogue::Entry*>& entries = Catalogue::LiveValues();
    if (live_.series.empty()) {
        for (const Catalogue::Entry* entry : entries)
            live_.series.push_back({entry->Name(), entry->Unit(), {}});
        live_.series.push_back({LogFormat::TrimName, LogFormat::TrimUnit, {}});
        live_.series.push_back({LogFormat::TrimSourceName, {}, {}});
    }
    live_.seconds.push_back(seconds);
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::optional<long double> value = sample.ValueAt(*entries[i]->address);
        live_.series[i].values.push_back(value ? double(*value) : DataLog::Empty);
    }
    const bool trim = sample.trim && sample.trim->percent;
    live_.series[entries.size()].values.push_back(trim ? double(*sample.trim->percent)
                                                       : DataLog::Empty);
    live_.series[entries.size() + 1].values.push_back(sample.trim ? double(sample.trim->source)
                                                                  : DataLog::Empty);
}

void MapWindow::AddSample(const LiveSample& sample) {
    // On the sample's own clock, when it has one: the moment it was taken.
    const double seconds =
        sample.monotonic.time_since_epoch().count() != 0
            ? std::chrono::duration<double>(sample.monotonic - liveStart_).count()
            : LiveSeconds();
    AppendLive(seconds, sample);
    if (!IsLive())
        return;
    const std::optional<MapCell> cell = builder_->Add(MapSampleOf(sample, layout_, seconds));
    if (cell) {
        trail_.emplace_back(seconds, *cell);
        view_->CellChanged(*cell);
    }
    while (!trail_.empty() && trail_.front().first < seconds - TrailSeconds)
        trail_.pop_front();
    std::vector<MapCell> trail;
    for (const auto& [at, c] : trail_)
        if (trail.empty() || !(trail.back() == c))
            trail.push_back(c);
    if (trail != view_->Trail())
        view_->SetTrail(trail);
    if (HasBefore() && cell) {
        difference_ = MapDifference(before_->Table(), builder_->Table(), minimumCount_);
        differenceView_->CellChanged(*cell);
    }
    ShowCounts();
}

void MapWindow::AddWrite(const JournalRecord& record) {
    const double seconds = LiveSeconds();
    live_.events.push_back({seconds, LogFormat::EventText(record), LogEventKind::Write});
    if (IsLive())
        builder_->AddWrite(seconds);
}

void MapWindow::ShowLive() {
    logs_.clear();
    Rebuild();
    UpdateDemand();
}

void MapWindow::Reset() {
    if (IsLive()) {
        live_ = DataLog();
        liveStart_ = std::chrono::steady_clock::now();
        trail_.clear();
    } else {
        logs_.clear();
    }
    Rebuild();
    UpdateDemand();
}

void MapWindow::OpenLogs(const QStringList& paths) {
    const bool wasLive = IsLive();
    std::vector<MapLog> opened;
    QString refused;
    for (const QString& path : paths) {
        try {
            opened.push_back(MapLogs::Open(path));
        } catch (const LogError& error) {
            refused = error.text();
            break;
        }
    }
    for (MapLog& log : opened)
        logs_.push_back(std::move(log));
    if (wasLive && !IsLive()) {
        trail_.clear();
        view_->SetTrail({});
    }
    Rebuild();
    UpdateDemand();
    if (!refused.isEmpty())
        throw LogError(refused);
}

void MapWindow::OpenBefore(const QStringList& paths) {
    QString refused;
    for (const QString& path : paths) {
        try {
            beforeLogs_.push_back(MapLogs::Open(path));
        } catch (const LogError& error) {
            refused = error.text();
            break;
        }
    }
    Rebuild();
    if (!refused.isEmpty())
        throw LogError(refused);
}

void MapWindow::KeepAsBefore() {
    if (IsLive()) {
        beforeLogs_ = {MapLog{QStringLiteral("живая карта до %1")
                                  .arg(QTime::currentTime().toString(QStringLiteral("HH:mm"))),
                              std::move(live_)}};
        live_ = DataLog();
        liveStart_ = std::chrono::steady_clock::now();
        trail_.clear();
    } else {
        beforeLogs_ = std::move(logs_);
        logs_.clear();
    }
    Rebuild();
    UpdateDemand();
}

void MapWindow::ClearBefore() {
    beforeLogs_.clear();
    Rebuild();
}

void MapWindow::UpdateDemand() {
    if (isVisible() && connected_)
        demand_ = feed_.Want(LiveRate);
    else
        demand_.reset();
}

void MapWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateDemand();
}

void MapWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    UpdateDemand();
}

void MapWindow::OpenChosen(bool before) {
    QDir().mkpath(LogsFolder());
    const QStringList paths = QFileDialog::getOpenFileNames(
        this, before ? QStringLiteral("Открыть записи «до»") : QStringLiteral("Открыть запись"),
        LogsFolder(), QStringLiteral("Записи данных (*.csv);;Все файлы (*)"));
    if (paths.isEmpty())
        return;
    DialogFolder::Remember(*ToolData::Preferences(), DialogFolder::Kind::Logs, paths.front());
    try {
        before ? OpenBefore(paths) : OpenLogs(paths);
    } catch (const LogError& error) {
        emit failed(error.text());
    }
}

Sheets::Section MapWindow::PaperSection() const {
    QStringList sources;
    if (IsLive())
        sources << QStringLiteral("живая карта");
    for (const MapLog& log : logs_)
        sources << MapLogs::SpanText(log);
    QStringList filters;
    const MapFilters applied = filters_.For(layout_);
    for (MapFilter filter : AllMapFilters)
        if (applied.On(filter))
            filters << QStringLiteral("%1 (−%2)")
                           .arg(MapFilterTexts::Name(filter))
                           .arg(Dropped()[filter]);
    return Sheets::MapSection(
        Table(), minimumCount_,
        {QStringLiteral("Источник: ") + sources.join(QStringLiteral("; ")),
         QStringLiteral("Фильтры: ") +
             (filters.isEmpty() ? QStringLiteral("нет") : filters.join(QStringLiteral(", ")))});
}

void MapWindow::SaveCsv() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить таблицу"),
        QDir(LogsFolder()).filePath(QStringLiteral("Карта коррекции.csv")),
        QStringLiteral("Таблица CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        path += QStringLiteral(".csv");
    try {
        MapCsv::Write(Table(), path);
    } catch (const EInOutError& error) {
        emit failed(QStringLiteral("Таблица не сохранена в «%1»: %2.")
                        .arg(path, QString::fromLocal8Bit(error.what())));
    }
}

void MapWindow::SavePng() {
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Сохранить картинку"),
        QDir(LogsFolder()).filePath(QStringLiteral("Карта коррекции.png")),
        QStringLiteral("Картинка PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!views_->grab().save(path, "PNG"))
        emit failed(QStringLiteral("Картинка не сохранена в «%1».").arg(path));
}

void MapWindow::SavePdf() {
    const auto settings = ToolData::Preferences();
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить лист"),
                                     QDir(DialogFolder::Start(*settings, DialogFolder::Kind::Pdfs))
                                         .filePath(QStringLiteral("Карта коррекции.pdf")),
                                     QStringLiteral("Документ PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    DialogFolder::Remember(*settings, DialogFolder::Kind::Pdfs, path);
    try {
        Sheets::WritePdf(Sheets::MapSheet(PaperSection(), QDateTime::currentDateTime().toString(
                                                              QStringLiteral("dd.MM.yyyy HH:mm"))),
                         path);
    } catch (const EInOutError& error) {
        emit failed(QStringLiteral("Лист не сохранён в «%1»: %2.")
                        .arg(path, QString::fromLocal8Bit(error.what())));
    }
}
