#include "ChartView.h"

#include "Decimation.h"
#include "LogFormat.h"

#include <qcustomplot.h>

#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QColor SeriesColours[ChartView::MaxShown] = {
    QColor(31, 119, 180),  QColor(214, 39, 40), QColor(44, 160, 44),   QColor(255, 127, 14),
    QColor(148, 103, 189), QColor(140, 86, 75), QColor(227, 119, 194), QColor(23, 190, 207)};
const QColor EventColour(200, 120, 0);
const QColor MarkerColour(120, 40, 160);
const QColor CursorColour(90, 90, 90);

bool IsMarker(const LogEvent& event) {
    return event.kind == LogEventKind::Marker;
}

// A write in the journal's words; a marker as its row says it, "Отметка: <text>".
QString LabelOf(const LogEvent& event) {
    return IsMarker(event) ? LogFormat::MarkerEventText(event.text) : event.text;
}

QString FullName(const LogSeries& series) {
    return series.unit.isEmpty() ? series.name : series.name + QStringLiteral(", ") + series.unit;
}

// A text pinned to a frame: x and y as parts of its width and height.
QCPItemText* FrameText(QCustomPlot* plot, QCPAxisRect* rect, double x, double y) {
    auto* text = new QCPItemText(plot);
    text->setClipAxisRect(rect);
    text->position->setAxisRect(rect);
    text->position->setType(QCPItemPosition::ptAxisRectRatio);
    text->position->setCoords(x, y);
    text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setPadding(QMargins(3, 1, 3, 1));
    text->setBrush(QBrush(QColor(255, 255, 255, 210)));
    return text;
}

QString ClockText(double seconds) {
    const qint64 ms = qint64(std::llround(seconds * 1000));
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000 / 100);
}

} // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent), plot_(new QCustomPlot(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot_);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->setNoAntialiasingOnDrag(true);
    plot_->setNotAntialiasedElements(QCP::aeAll);
    plot_->setMouseTracking(true);
    plot_->installEventFilter(this);
    Rebuild();
}

void ChartView::SetLog(const DataLog* log) {
    log_ = log;
    cursor_.reset();
    Rebuild();
    emit cursorMoved(); // no readout of another log's values
}

void ChartView::SetShown(std::vector<int> series) {
    if (series.size() > size_t(MaxShown))
        series.resize(size_t(MaxShown));
    shown_ = std::move(series);
    Rebuild();
    emit cursorMoved(); // the readout names what is shown
}

void ChartView::SetStacked(bool stacked) {
    stacked_ = stacked;
    Rebuild();
}

void ChartView::SetBoxZoom(bool on) {
    plot_->setSelectionRectMode(on ? QCP::srmZoom : QCP::srmNone);
}

QCPAxis* ChartView::TimeAxis() const {
    return timeAxes_.empty() ? nullptr : timeAxes_.back();
}

void ChartView::Rebuild() {
    const bool hadRange = TimeAxis() != nullptr;
    const auto [from, to] = TimeRange();
    plot_->clearItems();
    plot_->clearGraphs();
    plot_->plotLayout()->clear();
    graphs_.clear();
    rects_.clear();
    timeAxes_.clear();

    std::vector<int> valid;
    for (int index : shown_)
        if (log_ && index >= 0 && size_t(index) < log_->series.size())
            valid.push_back(index);
    const int frames = stacked_ ? std::max<int>(int(valid.size()), 1) : 1;
    auto ticker = QSharedPointer<QCPAxisTickerTime>::create();
    ticker->setTimeFormat(QStringLiteral("%h:%m:%s"));
    for (int f = 0; f < frames; ++f) {
        auto* rect = new QCPAxisRect(plot_);
        plot_->plotLayout()->addElement(f, 0, rect);
        rect->axis(QCPAxis::atTop)->setVisible(false);
        rect->axis(QCPAxis::atRight)->setVisible(false);
        QCPAxis* time = rect->axis(QCPAxis::atBottom);
        time->setTicker(ticker);
        time->setTickLabels(f == frames - 1);
        rect->setRangeDragAxes({time});
        rect->setRangeZoomAxes({time});
        rects_.push_back(rect);
        timeAxes_.push_back(time);
        connect(time, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [this, time] { OnTimeRange(time); });
    }
    // The value axes share their width so the frames line up when stacked.
    delete margins_; // its frames went with the layout
    margins_ = new QCPMarginGroup(plot_);
    for (QCPAxisRect* rect : rects_)
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins_);

    for (size_t i = 0; i < valid.size(); ++i) {
        QCPAxisRect* rect = rects_[stacked_ ? i : 0];
        QCPAxis* valueAxis = rect->axis(QCPAxis::atLeft);
        if (!stacked_ && i > 0)
            valueAxis = rect->addAxis(i % 2 ? QCPAxis::atRight : QCPAxis::atLeft);
        const QColor colour = SeriesColours[i];
        valueAxis->setLabel(log_->series[size_t(valid[i])].unit);
        valueAxis->setLabelColor(colour);
        valueAxis->setTickLabelColor(colour);
        valueAxis->setBasePen(QPen(colour));
        QCPGraph* graph = plot_->addGraph(rect->axis(QCPAxis::atBottom), valueAxis);
        graph->setPen(QPen(colour, 1));    // a cosmetic pen: the fast way to draw many lines
        graph->setAdaptiveSampling(false); // the points are decimated already
        graphs_.push_back(graph);
    }
    shown_ = valid;
    if (hadRange)
        SetTimeRange(from, to);
    else
        ShowAll();
}

void ChartView::SetTimeRange(double from, double to) {
    if (!TimeAxis())
        return;
    TimeAxis()->setRange(from, std::max(to, from + 0.001));
    Redraw();
}

std::pair<double, double> ChartView::TimeRange() const {
    if (!TimeAxis())
        return {0, 0};
    return {TimeAxis()->range().lower, TimeAxis()->range().upper};
}

void ChartView::ShowAll() {
    if (log_ && !log_->seconds.empty())
        SetTimeRange(log_->seconds.front(), std::max(log_->seconds.back(), 1.0));
    else
        SetTimeRange(0, 60);
}

void ChartView::Refresh() {
    Redraw();
}

void ChartView::RedrawNow() {
    Redraw();
    plot_->replot(QCustomPlot::rpImmediateRefresh);
}

void ChartView::OnTimeRange(QCPAxis* source) {
    if (syncing_)
        return;
    syncing_ = true;
    for (QCPAxis* axis : timeAxes_)
        if (axis != source)
            axis->setRange(source->range());
    syncing_ = false;
    Redraw();
    emit timeRangeChanged();
}

void ChartView::Redraw() {
    if (!TimeAxis())
        return;
    const auto [from, to] = TimeRange();
    const int columns = std::max(rects_.front()->width(), 100);
    // The curves of the top frame keep below the event texts.
    const double band = std::min(EventRowsInView().band, 0.6);
    for (size_t i = 0; i < graphs_.size(); ++i) {
        const LogSeries& series = log_->series[size_t(shown_[i])];
        const auto points = Decimate(log_->seconds, series.values, from, to, columns);
        QVector<QCPGraphData> data;
        data.reserve(qsizetype(points.size()));
        double low = INFINITY, high = -INFINITY;
        for (const ChartPoint& p : points) {
            data.append(QCPGraphData(p.seconds, p.value));
            if (!std::isnan(p.value)) {
                low = std::min(low, p.value);
                high = std::max(high, p.value);
            }
        }
        graphs_[i]->data()->set(data, true);
        if (low <= high) {
            const double margin =
                std::max((high - low) * 0.08, std::max(std::abs(high), 1.0) * 0.01);
            const bool top = !stacked_ || i == 0;
            const double lower = low - margin;
            const double upper = high + margin;
            graphs_[i]->valueAxis()->setRange(lower,
                                              top ? lower + (upper - lower) / (1 - band) : upper);
        }
    }
    PlaceMarkers();
    PlaceCursor();
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

QColor ChartView::ColourOf(size_t shownIndex) {
    return SeriesColours[shownIndex % MaxShown];
}

void ChartView::PlaceMarkers() {
    plot_->clearItems();
    if (!log_)
        return;
    // Each frame of the stacked view names its value; the overlaid view has the list's colours.
    if (stacked_)
        for (size_t i = 0; i < graphs_.size() && i < rects_.size(); ++i) {
            QCPItemText* name = FrameText(plot_, rects_[i], 0.005, 0.02);
            name->setText(FullName(log_->series[size_t(shown_[i])]));
            name->setColor(ColourOf(i));
            name->setBrush(Qt::NoBrush); // the line stays visible under its name
            name->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
    const EventRows rows = EventRowsInView();
    for (size_t e = 0; e < rows.row.size(); ++e) {
        const LogEvent& event = log_->events[e];
        if (rows.row[e] < 0)
            continue;
        // A write is a dashed line, a marker a solid one of its own colour.
        const QColor colour = IsMarker(event) ? MarkerColour : EventColour;
        for (QCPAxisRect* rect : rects_) {
            auto* line = new QCPItemStraightLine(plot_);
            line->setClipAxisRect(rect);
            line->setPen(IsMarker(event) ? QPen(colour, 2) : QPen(colour, 1, Qt::DashLine));
            for (QCPItemPosition* p : {line->point1, line->point2}) {
                p->setAxisRect(rect);
                p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
                p->setTypeX(QCPItemPosition::ptPlotCoords);
                p->setTypeY(QCPItemPosition::ptAxisRectRatio);
            }
            line->point1->setCoords(event.seconds, 0);
            line->point2->setCoords(event.seconds, 1);
        }
        QCPAxisRect* top = rects_.front();
        QCPItemText* label = FrameText(plot_, top, 0, 0);
        label->position->setAxes(top->axis(QCPAxis::atBottom), top->axis(QCPAxis::atLeft));
        label->position->setTypeX(QCPItemPosition::ptPlotCoords);
        label->position->setCoords(event.seconds, rows.first + rows.step * rows.row[e]);
        label->setColor(colour.darker(160));
        label->setPen(QPen(colour));
        label->setText(LabelOf(event));
    }
}

ChartView::EventRows ChartView::EventRowsInView() const {
    EventRows rows;
    if (!log_ || rects_.empty() || !TimeAxis())
        return rows;
    // Before the first layout pass the frames have no height yet: share the widget's.
    double height = rects_.front()->height();
    if (height < 40)
        height = std::max(40.0, double(plot_->height()) / double(rects_.size()) - 30);
    rows.step = (fontMetrics().height() + 6) / height;
    // Below the frame's name in the stacked view.
    rows.first = stacked_ ? 0.02 + rows.step : 0.02;
    const int most = std::max(1, int((1.0 - rows.first) / rows.step));
    // Each text takes the first row where it clears the texts before it.
    std::vector<double> rowEnd(size_t(most), -INFINITY);
    const auto [from, to] = TimeRange();
    int used = 0;
    for (const LogEvent& event : log_->events) {
        if (event.seconds < from || event.seconds > to) {
            rows.row.push_back(-1);
            continue;
        }
        const double x = TimeAxis()->coordToPixel(event.seconds);
        auto free =
            std::find_if(rowEnd.begin(), rowEnd.end(), [x](double end) { return end <= x; });
        if (free == rowEnd.end())
            free = std::min_element(rowEnd.begin(), rowEnd.end());
        *free = x + fontMetrics().horizontalAdvance(LabelOf(event)) + 10;
        const int row = int(free - rowEnd.begin());
        rows.row.push_back(row);
        used = std::max(used, row + 1);
    }
    rows.band = used > 0 ? rows.first + rows.step * used : 0;
    return rows;
}

void ChartView::PlaceCursor() {
    if (!cursor_)
        return;
    for (QCPAxisRect* rect : rects_) {
        auto* line = new QCPItemStraightLine(plot_);
        line->setClipAxisRect(rect);
        line->setPen(QPen(CursorColour, 1));
        for (QCPItemPosition* p : {line->point1, line->point2}) {
            p->setAxisRect(rect);
            p->setAxes(rect->axis(QCPAxis::atBottom), rect->axis(QCPAxis::atLeft));
            p->setTypeX(QCPItemPosition::ptPlotCoords);
            p->setTypeY(QCPItemPosition::ptAxisRectRatio);
        }
        line->point1->setCoords(*cursor_, 0);
        line->point2->setCoords(*cursor_, 1);
    }
}

void ChartView::SetCursor(double seconds) {
    cursor_ = seconds;
    PlaceMarkers();
    PlaceCursor();
    plot_->replot(QCustomPlot::rpQueuedReplot);
    emit cursorMoved();
}

QString ChartView::CursorText() const {
    if (!cursor_ || !log_ || log_->seconds.empty())
        return QString();
    // The row at or just before the cursor.
    auto at = std::upper_bound(log_->seconds.begin(), log_->seconds.end(), *cursor_);
    if (at != log_->seconds.begin())
        --at;
    const size_t row = size_t(at - log_->seconds.begin());
    QString text = log_->start.isValid() ? log_->start.addMSecs(qint64(log_->seconds[row] * 1000))
                                               .toString(QStringLiteral("HH:mm:ss"))
                                         : ClockText(log_->seconds[row]);
    for (int index : shown_) {
        const LogSeries& series = log_->series[size_t(index)];
        const double value = series.values[row];
        text += QStringLiteral("   %1: %2")
                    .arg(series.name,
                         std::isnan(value)
                             ? QStringLiteral("—")
                             : (series.decimals >= 0 ? QString::number(value, 'f', series.decimals)
                                                     : QString::number(value, 'g', 8)) +
                                   (series.unit.isEmpty() ? QString() : u' ' + series.unit));
    }
    return text;
}

bool ChartView::SavePng(const QString& path) {
    return plot_->savePng(path, plot_->width(), plot_->height());
}

bool ChartView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plot_ && event->type() == QEvent::MouseMove && TimeAxis()) {
        const auto* move = static_cast<QMouseEvent*>(event);
        if (move->buttons() == Qt::NoButton)
            SetCursor(TimeAxis()->pixelToCoord(move->position().x()));
    } else if (watched == plot_ && event->type() == QEvent::Resize) {
        QTimer::singleShot(0, this, &ChartView::Redraw);
    }
    return QWidget::eventFilter(watched, event);
}
