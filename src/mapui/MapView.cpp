#include "MapView.h"

#include "MapColours.h"
#include "MapNames.h"
#include "MapViewAccessible.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

constexpr int RowHeadWidth = 92;
constexpr int ColumnHeadHeight = 34;
constexpr int LegendHeight = 40;
constexpr int CaptionHeight = 22;
const QColor Grid(190, 190, 190);
const QColor FewSamplesText(150, 150, 150);

} // namespace

MapView::MapView(QWidget* parent) : QWidget(parent) {
    MapViewAccessible::Install();
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(420, 300);
    setAccessibleName(QStringLiteral("Карта коррекции"));
}

MapView::~MapView() = default;

const MapLayout* MapView::Layout() const {
    if (difference_)
        return &differenceLayout_;
    return table_ ? &table_->Layout() : nullptr;
}

int MapView::Rows() const {
    return difference_ ? difference_->Rows() : table_ ? table_->Rows() : 0;
}

int MapView::Columns() const {
    return difference_ ? difference_->Columns() : table_ ? table_->Columns() : 0;
}

void MapView::ShowTable(const MapTable* table, int64_t minimumCount) {
    table_ = table;
    difference_ = nullptr;
    minimumCount_ = minimumCount;
    trail_.clear();
    UpdateRange();
    update();
    ForgetCells();
}

void MapView::ShowDifference(const MapDifference* difference, const MapLayout& layout) {
    difference_ = difference;
    differenceLayout_ = layout;
    table_ = nullptr;
    trail_.clear();
    update();
    ForgetCells();
}

void MapView::SetCaption(const QString& caption) {
    caption_ = caption;
    setAccessibleName(caption);
    update(0, 0, width(), CaptionHeight);
}

void MapView::ForgetCells() {
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
}

void MapView::SetTrail(const std::vector<MapCell>& trail) {
    for (const MapCell& cell : trail_)
        update(CellRect(cell).adjusted(-2, -2, 2, 2));
    trail_ = trail;
    for (const MapCell& cell : trail_)
        update(CellRect(cell).adjusted(-2, -2, 2, 2));
}

void MapView::CellChanged(MapCell cell) {
    const double from = from_, to = to_;
    UpdateRange();
    // A new end of the range recolours every cell of a sequential scale.
    if (from != from_ || to != to_)
        update();
    else
        update(CellRect(cell));
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        changed.setChild(cell.row * Columns() + cell.column);
        QAccessible::updateAccessibility(&changed);
    }
}

void MapView::UpdateRange() {
    from_ = to_ = 0;
    if (!table_ || table_->Layout().AroundZero())
        return;
    bool first = true;
    for (int r = 0; r < table_->Rows(); ++r)
        for (int c = 0; c < table_->Columns(); ++c) {
            const CellStats& cell = table_->At(r, c);
            if (cell.Empty())
                continue;
            from_ = first ? cell.Mean() : std::min(from_, cell.Mean());
            to_ = first ? cell.Mean() : std::max(to_, cell.Mean());
            first = false;
        }
}

QRect MapView::CellRect(MapCell cell) const {
    const int rows = Rows(), columns = Columns();
    if (rows == 0 || columns == 0)
        return {};
    const int top = CaptionHeight + ColumnHeadHeight;
    const double w = double(width() - RowHeadWidth - 1) / columns;
    const double h = double(height() - top - LegendHeight - 1) / rows;
    const int x0 = RowHeadWidth + int(std::lround(cell.column * w));
    const int x1 = RowHeadWidth + int(std::lround((cell.column + 1) * w));
    const int y0 = top + int(std::lround(cell.row * h));
    const int y1 = top + int(std::lround((cell.row + 1) * h));
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

std::optional<MapCell> MapView::CellAt(QPoint point) const {
    for (int r = 0; r < Rows(); ++r) {
        const QRect rowRect = CellRect({r, 0});
        if (point.y() < rowRect.top() || point.y() > rowRect.bottom())
            continue;
        for (int c = 0; c < Columns(); ++c)
            if (CellRect({r, c}).contains(point))
                return MapCell{r, c};
    }
    return std::nullopt;
}

QString MapView::CellName(MapCell cell) const {
    const MapLayout* layout = Layout();
    if (!layout || cell.row >= Rows() || cell.column >= Columns())
        return {};
    if (table_)
        return MapNames::CellText(*layout, cell.row, cell.column, table_->At(cell));
    const DifferenceCell& d = difference_->At(cell.row, cell.column);
    QString text = MapNames::BandText(layout->speed, cell.row) + QLatin1Char(' ') +
                   MapNames::SpeedUnit() + QStringLiteral(", ") +
                   MapNames::BandText(layout->load, cell.column) + QLatin1Char(' ') +
                   MapNames::LoadUnit(layout->axis) + QStringLiteral(": ");
    if (d.movement == Movement::Unknown)
        return text + QStringLiteral("нет замеров в одной из карт");
    QString delta = MapNames::ValueText(*layout, d.delta);
    if (!delta.startsWith(QLatin1Char('-')) && !delta.startsWith(QLatin1Char('+')))
        delta.prepend(QLatin1Char('+'));
    text += QStringLiteral("разница ") + delta;
    switch (d.movement) {
    case Movement::Towards:
        text += QStringLiteral(", ближе к нулю");
        break;
    case Movement::Away:
        text += QStringLiteral(", дальше от нуля");
        break;
    default:
        break;
    }
    return d.sure ? text : text + QStringLiteral(", мало замеров");
}

QString MapView::CellDetails(MapCell cell) const {
    if (!table_ || cell.row >= Rows() || cell.column >= Columns())
        return {};
    const CellStats& stats = table_->At(cell);
    if (stats.Empty())
        return {};
    const MapLayout& layout = table_->Layout();
    QString details =
        QStringLiteral("минимум %1, максимум %2, отклонение %3")
            .arg(MapNames::ValueText(layout, stats.min), MapNames::ValueText(layout, stats.max),
                 MapNames::ValueText(layout, stats.Deviation()));
    if (stats.count < minimumCount_)
        details += QStringLiteral("; меньше %1 — среднему верить рано")
                       .arg(MapNames::SamplesText(minimumCount_));
    return details;
}

QSize MapView::sizeHint() const {
    return {RowHeadWidth + 20 * 46, CaptionHeight + ColumnHeadHeight + 13 * 34 + LegendHeight};
}

bool MapView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const std::optional<MapCell> cell = CellAt(help->pos())) {
            const QString details = CellDetails(*cell);
            QToolTip::showText(help->globalPos(),
                               CellName(*cell) +
                                   (details.isEmpty() ? QString() : QLatin1Char('\n') + details),
                               this, CellRect(*cell));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}

QColor MapView::CellColour(MapCell cell, bool& pale) const {
    pale = false;
    if (difference_) {
        const DifferenceCell& d = difference_->At(cell.row, cell.column);
        pale = !d.sure;
        const QColor colour = d.movement == Movement::Towards ? MapColours::Towards()
                              : d.movement == Movement::Away  ? MapColours::Away()
                                                              : QColor(Qt::white);
        return pale ? MapColours::Pale(colour) : colour;
    }
    const CellStats& stats = table_->At(cell);
    if (stats.Empty())
        return Qt::white;
    const QColor colour = table_->Layout().AroundZero()
                              ? MapColours::Trim(stats.Mean())
                              : MapColours::Sequential(stats.Mean(), from_, to_);
    pale = stats.count < minimumCount_;
    return pale ? MapColours::Pale(colour) : colour;
}

void MapView::PaintCell(QPainter& painter, MapCell cell) const {
    const QRect rect = CellRect(cell);
    bool pale = false;
    const QColor colour = CellColour(cell, pale);
    painter.fillRect(rect, colour);
    painter.setPen(Grid);
    painter.drawRect(rect.adjusted(0, 0, 0, 0));
    const MapLayout& layout = *Layout();
    QString value, count;
    if (table_) {
        const CellStats& stats = table_->At(cell);
        if (!stats.Empty()) {
            value = MapNames::ValueText(layout, stats.Mean());
            count = QString::number(stats.count);
        }
    } else {
        const DifferenceCell& d = difference_->At(cell.row, cell.column);
        if (d.movement != Movement::Unknown) {
            value = MapNames::ValueText(layout, d.delta);
            if (!value.startsWith(QLatin1Char('-')) && !value.startsWith(QLatin1Char('+')))
                value.prepend(QLatin1Char('+'));
        }
    }
    if (!value.isEmpty()) {
        const bool dark = colour.lightnessF() < 0.45;
        painter.setPen(pale ? FewSamplesText : dark ? QColor(Qt::white) : QColor(Qt::black));
        const QFont font = painter.font();
        // A narrow cell (two maps side by side) takes a smaller font rather than clip its mean.
        const int room = rect.width() - 4;
        const int wide = painter.fontMetrics().horizontalAdvance(value);
        if (wide > room && room > 0) {
            QFont narrow = font;
            narrow.setPointSizeF(std::max(5.5, font.pointSizeF() * room / wide));
            painter.setFont(narrow);
        }
        QRect text = rect.adjusted(1, 1, -1, -1);
        const bool twoLines =
            !count.isEmpty() && rect.height() >= 2 * painter.fontMetrics().height();
        if (twoLines)
            text.setBottom(rect.center().y() + 2);
        painter.drawText(text, Qt::AlignCenter | (twoLines ? Qt::AlignBottom : Qt::AlignVCenter),
                         value);
        if (twoLines) {
            QFont small = painter.font();
            small.setPointSizeF(small.pointSizeF() * 0.8);
            painter.setFont(small);
            painter.setPen(pale   ? FewSamplesText
                           : dark ? QColor(230, 230, 230)
                                  : QColor(90, 90, 90));
            painter.drawText(rect.adjusted(1, rect.height() / 2 + 1, -1, -1),
                             Qt::AlignHCenter | Qt::AlignTop, count);
        }
        painter.setFont(font);
    }
}

void MapView::PaintHeads(QPainter& painter) const {
    const MapLayout& layout = *Layout();
    painter.setPen(palette().color(QPalette::WindowText));
    QFont bold = painter.font();
    bold.setBold(true);
    const QFont plain = painter.font();
    painter.setFont(bold);
    painter.drawText(QRect(4, 0, width() - 8, CaptionHeight), Qt::AlignVCenter | Qt::AlignLeft,
                     caption_);
    painter.setFont(plain);
    const QRect corner(0, CaptionHeight, RowHeadWidth, ColumnHeadHeight);
    painter.drawText(corner.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignTop,
                     MapNames::LoadUnit(layout.axis) + QStringLiteral(" →"));
    painter.drawText(corner.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignBottom,
                     MapNames::SpeedUnit() + QStringLiteral(" ↓"));
    QFont small = plain;
    small.setPointSizeF(plain.pointSizeF() * 0.85);
    painter.setFont(small);
    for (int c = 0; c < Columns(); ++c) {
        const QRect cell = CellRect({0, c});
        const QRect head(cell.left(), CaptionHeight, cell.width(), ColumnHeadHeight);
        const QString from = MapNames::BandText(layout.load, c).section(QChar(0x2013), 0, 0);
        const QString to = MapNames::BandText(layout.load, c).section(QChar(0x2013), 1, 1);
        painter.drawText(head, Qt::AlignCenter, from + QStringLiteral("–\n") + to);
    }
    for (int r = 0; r < Rows(); ++r) {
        const QRect cell = CellRect({r, 0});
        painter.drawText(QRect(2, cell.top(), RowHeadWidth - 6, cell.height()),
                         Qt::AlignRight | Qt::AlignVCenter, MapNames::BandText(layout.speed, r));
    }
    painter.setFont(plain);
}

QRect MapView::LegendRect() const {
    return QRect(RowHeadWidth, height() - LegendHeight + 6, width() - RowHeadWidth - 4,
                 LegendHeight - 8);
}

void MapView::PaintLegend(QPainter& painter) const {
    const QRect legend = LegendRect();
    const QRect bar(legend.left(), legend.top(), std::min(legend.width() / 2, 320), 12);
    painter.setPen(palette().color(QPalette::WindowText));
    if (difference_) {
        const QRect towards(legend.left(), legend.top(), 14, 12);
        painter.fillRect(towards, MapColours::Towards());
        painter.drawText(towards.right() + 4, legend.top() + 11, QStringLiteral("ближе к нулю"));
        const QRect away(legend.left() + 150, legend.top(), 14, 12);
        painter.fillRect(away, MapColours::Away());
        painter.drawText(away.right() + 4, legend.top() + 11, QStringLiteral("дальше от нуля"));
        painter.drawText(legend.left() + 320, legend.top() + 11,
                         QStringLiteral("разница «после» − «до»"));
        return;
    }
    const MapLayout& layout = *Layout();
    const bool aroundZero = layout.AroundZero();
    for (int x = 0; x < bar.width(); ++x) {
        const double at = double(x) / std::max(1, bar.width() - 1);
        const QColor colour =
            aroundZero ? MapColours::Trim(-MapColours::TrimSpan + 2 * MapColours::TrimSpan * at)
                       : MapColours::Sequential(at, 0, 1);
        painter.fillRect(QRect(bar.left() + x, bar.top(), 1, bar.height()), colour);
    }
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    QFont small = painter.font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    const QFont plain = painter.font();
    painter.setFont(small);
    const int textTop = bar.bottom() + 2;
    auto label = [&](double at, const QString& text) {
        const int x = bar.left() + int(at * (bar.width() - 1));
        painter.drawLine(x, bar.bottom(), x, bar.bottom() + 2);
        painter.drawText(QRect(x - 40, textTop, 80, 14), Qt::AlignHCenter | Qt::AlignTop, text);
    };
    if (aroundZero) {
        for (double v : {-15.0, -10.0, -5.0, 0.0, 5.0, 10.0, 15.0})
            label((v + MapColours::TrimSpan) / (2 * MapColours::TrimSpan),
                  v == 0 ? QStringLiteral("0")
                         : MapNames::ValueText(layout, v).section(QLatin1Char(','), 0, 0));
        const QString text =
            QStringLiteral("%: синий — коррекция убавляет газ, красный — добавляет");
        painter.drawText(bar.right() + 8, bar.top() + 11,
                         painter.fontMetrics().elidedText(text, Qt::ElideRight,
                                                          legend.right() - bar.right() - 8));
    } else {
        label(0, MapNames::ValueText(layout, from_));
        label(1, MapNames::ValueText(layout, to_));
        painter.drawText(bar.right() + 8, bar.top() + 11, MapNames::ValueUnit(layout));
    }
    painter.setFont(plain);
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    if (!Layout())
        return;
    const QRect dirty = event->rect();
    for (int r = 0; r < Rows(); ++r)
        for (int c = 0; c < Columns(); ++c)
            if (CellRect({r, c}).intersects(dirty))
                PaintCell(painter, {r, c});
    if (dirty.top() < CaptionHeight + ColumnHeadHeight || dirty.left() < RowHeadWidth)
        PaintHeads(painter);
    if (dirty.intersects(LegendRect()))
        PaintLegend(painter);
    // The trail fades towards its oldest cell; the live cell is outlined thick.
    for (size_t i = 0; i < trail_.size(); ++i) {
        const bool live = i + 1 == trail_.size();
        QPen pen(live ? QColor(0, 0, 0)
                      : QColor(60, 60, 60, int(60 + 140 * (i + 1) / trail_.size())));
        pen.setWidth(live ? 3 : 1);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(CellRect(trail_[i]).adjusted(1, 1, -1, -1));
    }
}
