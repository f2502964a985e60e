#pragma once
// The "Карта коррекции" window: the map of a value (the trim by default) over engine speed ×
// load, filled live from the session's feed while connected or from recorded logs folded
// together; its filters with what each dropped; a map "before" beside it with the difference;
// the table to CSV, PNG and paper. It only reads: nothing here writes to the controller.

#include "DataLog.h"
#include "LiveFeed.h"
#include "MapBuilder.h"
#include "MapDifference.h"
#include "MapLogs.h"
#include "Sheet.h"

#include <QWidget>

#include <array>
#include <deque>
#include <memory>

class ConnectionEvents;
class JournalFeed;
class MapView;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
struct JournalRecord;

class MapWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int LiveRate = 2;
    // The live cell's trail: the cells of the last seconds.
    static constexpr double TrailSeconds = 5;

    // Maps the samples of `feed` with the writes of `writes` while `events` says a controller
    // is connected; all three outlive the window.
    MapWindow(LiveFeed& feed, JournalFeed& writes, ConnectionEvents& events,
              QWidget* parent = nullptr);
    ~MapWindow() override;

    // Adds recorded logs to the map, folded with those open. Throws LogError naming a file that
    // is no data log of this tool; the files before it stay open.
    void OpenLogs(const QStringList& paths);
    // The same for the map "before".
    void OpenBefore(const QStringList& paths);
    // The map as it is becomes the map "before"; the map itself starts empty.
    void KeepAsBefore();
    void ClearBefore();
    // Back to the live map, empty.
    void ShowLive();
    // Empties the map being filled: the live one, or the logs opened.
    void Reset();

    // Whether a controller is connected, as the window was made; the events tell it afterwards.
    void SetConnected(bool connected);
    void SetLayout(const MapLayout& layout);
    void SetFilters(const MapFilters& filters);
    void SetMinimumCount(int count);

    const MapTable& Table() const { return builder_->Table(); }
    const DropCounts& Dropped() const { return builder_->Dropped(); }
    const MapLayout& Layout() const { return layout_; }
    bool IsLive() const { return logs_.empty(); }
    bool HasBefore() const { return before_ != nullptr; }
    const MapDifference& Difference() const { return difference_; }
    MapView& View() { return *view_; }
    // What the window says of the table (empty after the filters, notes of the logs).
    QString Note() const;
    bool HasSamples() const { return Table().Samples() > 0; }
    // The map on paper, a page of its own: in its own sheet or after the settings.
    Sheets::Section PaperSection() const;

    // Takes a live sample or a write as if from the feeds.
    void AddSample(const LiveSample& sample);
    void AddWrite(const JournalRecord& record);

signals:
    // A file could not be opened or saved; the text says why.
    void failed(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildControls();
    QWidget* SourceBox();
    QWidget* TableBox();
    QWidget* FilterBox();
    QWidget* CompareBox();
    QWidget* ExportBox();
    void Rebuild();
    void ShowCounts();
    void ShowSources();
    void ReadControls();
    void ShowControls();
    void UpdateDemand();
    void Remember() const;
    double LiveSeconds() const;
    void OpenChosen(bool before);
    void SaveCsv();
    void SavePng();
    void SavePdf();
    QString Caption(const QString& side) const;
    void AppendLive(double seconds, const LiveSample& sample);

    LiveFeed& feed_;
    LiveFeed::Demand demand_;
    bool connected_ = false;
    MapLayout layout_;
    MapFilters filters_;
    int minimumCount_ = 10;

    // The live drive as a log of its own, so that a change of bands or filters refolds it.
    DataLog live_;
    std::chrono::steady_clock::time_point liveStart_;
    std::vector<MapLog> logs_;
    std::vector<MapLog> beforeLogs_;
    std::unique_ptr<MapBuilder> builder_;
    std::unique_ptr<MapBuilder> before_;
    MapDifference difference_;
    std::deque<std::pair<double, MapCell>> trail_;

    MapView* view_ = nullptr;
    MapView* beforeView_ = nullptr;
    MapView* differenceView_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* sourceLabel_ = nullptr;
    QListWidget* files_ = nullptr;
    QPushButton* live_button_ = nullptr;
    QComboBox* value_ = nullptr;
    QComboBox* axis_ = nullptr;
    std::array<QDoubleSpinBox*, 3> rows_{};    // first, last, width
    std::array<QDoubleSpinBox*, 3> columns_{}; // the same
    QSpinBox* minimum_ = nullptr;
    std::array<QCheckBox*, MapFilterCount> filterOn_{};
    std::array<QLabel*, MapFilterCount> filterDropped_{};
    QDoubleSpinBox* warmFrom_ = nullptr;
    QDoubleSpinBox* throttleRate_ = nullptr;
    QDoubleSpinBox* throttleSettle_ = nullptr;
    QDoubleSpinBox* writeSettle_ = nullptr;
    QDoubleSpinBox* speedFrom_ = nullptr;
    QDoubleSpinBox* speedTo_ = nullptr;
    QLabel* compare_ = nullptr;
    QPushButton* clearBefore_ = nullptr;
    QWidget* views_ = nullptr;
    bool showing_ = false; // the controls are being set from the state: no rebuild
};
