#pragma once
// The "Графики" window: strip charts of the live values while a controller is connected (the
// last 1, 5 or 15 minutes, scrolling), or of a recorded log opened for replay. Up to eight
// values are chosen from the list; the view is stacked or overlaid, can be paused, zoomed,
// panned and saved as a picture.

#include "DataLog.h"
#include "LiveFeed.h"

#include <QWidget>

class ChartView;
class ConnectionEvents;
class JournalFeed;
class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
struct JournalRecord;

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int LiveRate = 2;
    // The longest live span kept, in seconds.
    static constexpr double LiveKeptSeconds = 15 * 60;

    // Charts the samples of `feed` with the writes of `writes`, breaking the live curves when
    // `events` says the connection closed; all three outlive the window.
    ChartWindow(LiveFeed& feed, JournalFeed& writes, ConnectionEvents& events,
                QWidget* parent = nullptr);

    // Replays a recorded log. Throws LogError when it is no data log.
    void OpenLog(const QString& path);
    // Back to the live values.
    void ShowLive();
    bool IsReplay() const { return replay_.has_value(); }

    // The names of the series to show, in order (at most eight are taken).
    void ShowSeries(const QStringList& names);
    void SetPaused(bool paused);
    void SetSpanMinutes(int minutes);

    ChartView& View() { return *view_; }
    const DataLog& Log() const { return replay_ ? *replay_ : live_; }

    // Takes a live sample or a write as if from the feeds.
    void AddSample(const LiveSample& sample);
    void AddWrite(const JournalRecord& record);
    // A marker of the recording, set at that moment, among the live values.
    void AddMarker(const QString& text, std::chrono::steady_clock::time_point at);

signals:
    // A file could not be opened or saved; the text says why.
    void failed(const QString& message);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OpenChosen();
    void SaveChosen();
    void FillList();
    QStringList TickedNames() const;
    void OnItemChanged(QListWidgetItem* item);
    void ApplyShown();
    void ScrollLive();
    void BreakLive();
    void UpdateDemand();
    double LiveSeconds() const;

    LiveFeed& feed_;
    DataLog live_;
    std::optional<DataLog> replay_;
    QString replayName_;
    std::chrono::steady_clock::time_point liveStart_;
    ChartView* view_;
    QListWidget* list_;
    QLabel* cursorLabel_;
    QLabel* noteLabel_;
    QComboBox* span_;
    QAction* pause_;
    QAction* overlay_;
    QAction* box_;
    QAction* liveAction_;
    LiveFeed::Demand demand_;
    bool filling_ = false;
};
