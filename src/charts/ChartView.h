#pragma once
// The strip charts of a data log: up to eight series on one time axis, each with its own value
// axis and unit, stacked one above the other or overlaid in one frame. The wheel zooms the
// time axis, a drag pans it, and in box mode a dragged box zooms to its time span. A cursor
// line follows the mouse; write events and markers are drawn where they happened. Each series is
// drawn from its decimated points, at most a minimum and a maximum per pixel column.

#include "DataLog.h"

#include <QWidget>

#include <vector>

class QCustomPlot;
class QCPAxis;
class QCPAxisRect;
class QCPGraph;
class QCPItemStraightLine;
class QCPMarginGroup;

class ChartView : public QWidget {
    Q_OBJECT
public:
    static constexpr int MaxShown = 8;

    explicit ChartView(QWidget* parent = nullptr);

    // The log drawn; it must outlive the view or be replaced before it goes.
    void SetLog(const DataLog* log);
    // The indexes of the series to show (the first MaxShown of them).
    void SetShown(std::vector<int> series);
    const std::vector<int>& Shown() const { return shown_; }
    void SetStacked(bool stacked);
    bool IsStacked() const { return stacked_; }
    // In box mode a drag draws a box and zooms to it; otherwise a drag pans.
    void SetBoxZoom(bool on);

    void SetTimeRange(double from, double to);
    std::pair<double, double> TimeRange() const;
    // The whole log in view.
    void ShowAll();
    // Draws the log again after rows were added or dropped, on the next pass of the event loop.
    void Refresh();
    // The same at once: every shown series decimated again and the whole view painted.
    void RedrawNow();

    // The time and every shown value at the cursor line, or an empty text without a cursor.
    QString CursorText() const;
    void SetCursor(double seconds);

    // The view as a picture of the widget's size.
    bool SavePng(const QString& path);

    QCustomPlot* Plot() const { return plot_; }
    // The colour of the n-th shown series.
    static QColor ColourOf(size_t shownIndex);

signals:
    void cursorMoved();
    void timeRangeChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Rebuild();
    void OnTimeRange(QCPAxis* source);
    void Redraw();
    // Where the event texts stand in the top frame, as parts of its height: the first row,
    // the step between rows, the row of each event (-1: out of view), and the band they take
    // (0 without events in view).
    struct EventRows {
        double first = 0.02;
        double step = 0.1;
        std::vector<int> row;
        double band = 0;
    };
    EventRows EventRowsInView() const;
    void PlaceMarkers();
    void PlaceCursor();
    QCPAxis* TimeAxis() const;

    QCustomPlot* plot_;
    const DataLog* log_ = nullptr;
    std::vector<int> shown_;
    bool stacked_ = true;
    std::vector<QCPGraph*> graphs_;
    std::vector<QCPAxisRect*> rects_;
    std::vector<QCPAxis*> timeAxes_;
    QCPMarginGroup* margins_ = nullptr;
    std::optional<double> cursor_;
    bool syncing_ = false;
};
