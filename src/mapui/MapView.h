#pragma once
// The map's table, painted: a row a speed band, a column a load band, each cell in its colour
// with its mean and count; a cell with fewer samples than the minimum pale, its mean in grey;
// the live cell outlined with a trail of the cells before it; a legend with the scale's numbers.
// Shows either a map or the difference of two. Assistive technology reads it as a table whose
// cells name their bands, mean and count.

#include "MapDifference.h"
#include "MapTable.h"

#include <QWidget>

#include <optional>
#include <vector>

class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);
    ~MapView() override;

    // Shows the table, which outlives the view or the next call; cells under `minimumCount`
    // are pale.
    void ShowTable(const MapTable* table, int64_t minimumCount);
    // Shows the difference of two maps of `layout`.
    void ShowDifference(const MapDifference* difference, const MapLayout& layout);
    // The caption over the table, also its accessible name.
    void SetCaption(const QString& caption);
    // The live cell last, the ones before it first; redraws only the cells that change.
    void SetTrail(const std::vector<MapCell>& trail);
    // One cell's samples changed: redraws it (and the legend's range where it moved).
    void CellChanged(MapCell cell);

    int Rows() const;
    int Columns() const;
    // What a cell says to a person: its bands, mean and count ("нет замеров" when empty).
    QString CellName(MapCell cell) const;
    // Its minimum, maximum and standard deviation, or the difference's verdict.
    QString CellDetails(MapCell cell) const;
    QRect CellRect(MapCell cell) const;
    std::optional<MapCell> CellAt(QPoint point) const;
    const std::vector<MapCell>& Trail() const { return trail_; }
    QString Caption() const { return caption_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    const MapLayout* Layout() const;
    void PaintCell(QPainter& painter, MapCell cell) const;
    void PaintHeads(QPainter& painter) const;
    void PaintLegend(QPainter& painter) const;
    QColor CellColour(MapCell cell, bool& pale) const;
    QRect LegendRect() const;
    void UpdateRange();
    void ForgetCells();

    const MapTable* table_ = nullptr;
    const MapDifference* difference_ = nullptr;
    MapLayout differenceLayout_;
    int64_t minimumCount_ = 10;
    QString caption_;
    std::vector<MapCell> trail_;
    double from_ = 0, to_ = 0; // the sequential scale's range
};
