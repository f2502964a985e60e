#include "ChartWindow.h"

#include "ChartView.h"
#include "ConnectionEvents.h"
#include "DialogFolder.h"
#include "JournalFeed.h"
#include "LogError.h"
#include "LogFormat.h"
#include "LogReader.h"
#include "ToolData.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QString Title = QStringLiteral("Графики");
constexpr int SpanMinutes[] = {1, 5, 15};
// The monitor's values come first in a live view.
constexpr int FirstShown = 4;
constexpr int MinListWidth = 260;
constexpr int MaxListWidth = 420;
// Within a 1024 × 768 screen, its title bar and a panel.
constexpr QSize DefaultSize(1000, 640);

QString LogsFolder() {
    return DialogFolder::Start(*ToolData::Preferences(), DialogFolder::Kind::Logs);
}

} // namespace

ChartWindow::ChartWindow(LiveFeed& feed, JournalFeed& writes, ConnectionEvents& events,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), feed_(feed), liveStart_(std::chrono::steady_clock::now()),
      view_(new ChartView(this)), list_(new QListWidget(this)), cursorLabel_(new QLabel(this)),
      noteLabel_(new QLabel(this)), span_(new QComboBox(this)) {
    setObjectName(QStringLiteral("ChartWindow"));
    setWindowTitle(Title);
    resize(DefaultSize);

    live_.start = QDateTime::currentDateTime();
    for (const Catalogue::Entry* entry : Catalogue::LiveValues())
        live_.series.push_back(
            {entry->Name(), entry->Unit(), {}, LogFormat::DecimalsOf(entry->Mask())});
    // The trim as the window's trim line shows it, after the live values as a recording has it.
    live_.series.push_back({LogFormat::TrimName, LogFormat::TrimUnit, {}, LogFormat::TrimDecimals});

    auto* tools = new QToolBar(this);
    tools->addAction(QStringLiteral("Открыть запись…"), this, [this] { OpenChosen(); });
    tools->addAction(QStringLiteral("Сохранить картинку…"), this, [this] { SaveChosen(); });
    tools->addSeparator();
    liveAction_ = tools->addAction(QStringLiteral("Живые данные"), this, [this] { ShowLive(); });
    tools->addWidget(new QLabel(QStringLiteral(" Последние "), this));
    for (int minutes : SpanMinutes)
        span_->addItem(QStringLiteral("%1 мин").arg(minutes), minutes);
    tools->addWidget(span_);
    pause_ = tools->addAction(QStringLiteral("Пауза"));
    pause_->setCheckable(true);
    tools->addSeparator();
    overlay_ = tools->addAction(QStringLiteral("Наложить"));
    overlay_->setCheckable(true);
    box_ = tools->addAction(QStringLiteral("Рамка"));
    box_->setCheckable(true);
    box_->setToolTip(QStringLiteral("Выделить интервал времени рамкой"));
    tools->addAction(QStringLiteral("Весь интервал"), this, [this] { view_->ShowAll(); });

    list_->setFixedWidth(MinListWidth);
    list_->setTextElideMode(Qt::ElideRight);
    cursorLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cursorLabel_->setWordWrap(true);
    cursorLabel_->setMinimumHeight(cursorLabel_->fontMetrics().height() + 6);

    auto* middle = new QHBoxLayout;
    middle->addWidget(list_);
    middle->addWidget(view_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(tools);
    layout->addLayout(middle, 1);
    layout->addWidget(cursorLabel_);
    layout->addWidget(noteLabel_);

    connect(span_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { ScrollLive(); });
    connect(pause_, &QAction::toggled, this, [this](bool paused) { SetPaused(paused); });
    connect(overlay_, &QAction::toggled, this, [this](bool on) { view_->SetStacked(!on); });
    connect(box_, &QAction::toggled, this, [this](bool on) { view_->SetBoxZoom(on); });
    connect(list_, &QListWidget::itemChanged, this, &ChartWindow::OnItemChanged);
    connect(view_, &ChartView::cursorMoved, this,
            [this] { cursorLabel_->setText(view_->CursorText()); });
    cursorLabel_->setObjectName(QStringLiteral("CursorReadout"));
    connect(&feed_, &LiveFeed::sampled, this, &ChartWindow::AddSample);
    connect(&writes, &JournalFeed::recorded, this, &ChartWindow::AddWrite);
    connect(&events, &ConnectionEvents::closed, this, [this] { BreakLive(); });

    ShowLive();
}

void ChartWindow::ShowLive() {
    replay_.reset();
    replayName_.clear();
    setWindowTitle(Title);
    span_->setEnabled(true);
    pause_->setEnabled(true);
    liveAction_->setEnabled(false);
    view_->SetLog(&live_);
    FillList();
    QStringList names;
    for (int i = 0; i < FirstShown && i < int(live_.series.size()); ++i)
        names << live_.series[size_t(i)].name;
    ShowSeries(names);
    ScrollLive();
    UpdateDemand();
}

void ChartWindow::OpenLog(const QString& path) {
    DataLog log = LogReader::Read(path);
    const QStringList ticked = TickedNames();
    replay_ = std::move(log);
    replayName_ = QFileInfo(path).fileName();
    setWindowTitle(Title + QStringLiteral(" — ") + replayName_);
    span_->setEnabled(false);
    pause_->setEnabled(false);
    liveAction_->setEnabled(true);
    view_->SetLog(&*replay_);
    FillList();
    // The values ticked stay ticked where the log holds them.
    QStringList names;
    for (const LogSeries& series : replay_->series)
        if (ticked.contains(series.name))
            names << series.name;
    for (int i = 0; names.isEmpty() && i < FirstShown && i < int(replay_->series.size()); ++i)
        names << replay_->series[size_t(i)].name;
    ShowSeries(names);
    view_->ShowAll();
    noteLabel_->setText(QStringLiteral("%1: строк %2, событий %3")
                            .arg(replayName_)
                            .arg(replay_->Rows())
                            .arg(replay_->events.size()));
    UpdateDemand();
}

QStringList ChartWindow::TickedNames() const {
    QStringList names;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            names << list_->item(i)->data(Qt::UserRole).toString();
    return names;
}

void ChartWindow::FillList() {
    filling_ = true;
    list_->clear();
    for (const LogSeries& series : Log().series) {
        const QString text =
            series.unit.isEmpty() ? series.name : series.name + QStringLiteral(", ") + series.unit;
        auto* item = new QListWidgetItem(text, list_);
        item->setToolTip(text); // in full where the list is too narrow for it
        item->setData(Qt::UserRole, series.name);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    // As wide as the longest name, within reason; a longer one is cut with an ellipsis.
    const int needed = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                       list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    list_->setFixedWidth(std::clamp(needed, MinListWidth, MaxListWidth));
    filling_ = false;
}

void ChartWindow::ShowSeries(const QStringList& names) {
    filling_ = true;
    int checked = 0;
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        const bool on =
            names.contains(item->data(Qt::UserRole).toString()) && checked < ChartView::MaxShown;
        checked += on;
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    filling_ = false;
    ApplyShown();
}

void ChartWindow::OnItemChanged(QListWidgetItem* item) {
    if (filling_)
        return;
    int checked = 0;
    for (int i = 0; i < list_->count(); ++i)
        checked += list_->item(i)->checkState() == Qt::Checked;
    if (checked > ChartView::MaxShown) {
        filling_ = true;
        item->setCheckState(Qt::Unchecked);
        filling_ = false;
        noteLabel_->setText(QStringLiteral("Не более восьми величин одновременно."));
        return;
    }
    ApplyShown();
}

void ChartWindow::ApplyShown() {
    std::vector<int> shown;
    filling_ = true;
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        const bool on = item->checkState() == Qt::Checked;
        // The list is the legend: a shown value in the colour of its line.
        item->setForeground(on ? ChartView::ColourOf(shown.size()) : palette().text().color());
        if (on)
            shown.push_back(i);
    }
    filling_ = false;
    view_->SetShown(shown);
}

void ChartWindow::SetPaused(bool paused) {
    if (pause_->isChecked() != paused)
        pause_->setChecked(paused);
    if (!paused)
        ScrollLive();
}

void ChartWindow::SetSpanMinutes(int minutes) {
    const int index = span_->findData(minutes);
    if (index >= 0)
        span_->setCurrentIndex(index);
}

double ChartWindow::LiveSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - liveStart_).count();
}

void ChartWindow::ScrollLive() {
    if (replay_ || pause_->isChecked())
        return;
    const double span = span_->currentData().toInt() * 60.0;
    const double end = std::max(live_.seconds.empty() ? 0.0 : live_.seconds.back(), span);
    view_->SetTimeRange(end - span, end);
}

void ChartWindow::AddSample(const LiveSample& sample) {
    const double seconds = std::chrono::duration<double>(sample.monotonic - liveStart_).count();
    if (!live_.seconds.empty() && seconds < live_.seconds.back())
        return;
    live_.seconds.push_back(seconds);
    const size_t trim = live_.series.size() - 1;
    for (size_t i = 0; i < trim; ++i) {
        const auto& value = i < sample.values.size() ? sample.values[i].value : std::nullopt;
        live_.series[i].values.push_back(value ? double(*value) : DataLog::Empty);
    }
    // None in setup mode or after a failed read: a gap, as the trim line shows none.
    live_.series[trim].values.push_back(
        sample.trim && sample.trim->percent ? double(*sample.trim->percent) : DataLog::Empty);
    live_.DropBefore(seconds - LiveKeptSeconds);
    if (replay_)
        return;
    if (pause_->isChecked())
        view_->Refresh();
    else
        ScrollLive();
}

void ChartWindow::BreakLive() {
    // An empty row, so that the lines do not bridge the time without a connection.
    if (live_.seconds.empty() || std::isnan(live_.series.front().values.back()))
        return;
    live_.seconds.push_back(std::max(LiveSeconds(), live_.seconds.back()));
    for (LogSeries& series : live_.series)
        series.values.push_back(DataLog::Empty);
}

void ChartWindow::AddWrite(const JournalRecord& record) {
    live_.events.push_back({LiveSeconds(), LogFormat::EventText(record)});
    if (!replay_)
        view_->Refresh();
}

void ChartWindow::AddMarker(const QString& text, std::chrono::steady_clock::time_point at) {
    const double seconds = std::chrono::duration<double>(at - liveStart_).count();
    live_.events.push_back({seconds, text, LogEventKind::Marker});
    if (!replay_)
        view_->Refresh();
}

void ChartWindow::UpdateDemand() {
    if (isVisible() && !replay_) {
        if (!demand_.active())
            demand_ = feed_.Want(LiveRate);
    } else {
        demand_.reset();
    }
}

void ChartWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateDemand();
}

void ChartWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    UpdateDemand();
}

void ChartWindow::OpenChosen() {
    QDir().mkpath(LogsFolder());
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Открыть запись"), LogsFolder(),
                                     QStringLiteral("Записи данных (*.csv);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    DialogFolder::Remember(*ToolData::Preferences(), DialogFolder::Kind::Logs, path);
    try {
        OpenLog(path);
    } catch (const LogError& error) {
        emit failed(error.text());
    }
}

void ChartWindow::SaveChosen() {
    const QString base =
        replay_ ? QFileInfo(replayName_).completeBaseName() : QStringLiteral("Графики");
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить картинку"),
                                     QDir(LogsFolder()).filePath(base + QStringLiteral(".png")),
                                     QStringLiteral("Картинка PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive))
        path += QStringLiteral(".png");
    if (!view_->SavePng(path))
        emit failed(QStringLiteral("Не удалось сохранить картинку «%1».").arg(path));
}
