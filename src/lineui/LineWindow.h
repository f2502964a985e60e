#pragma once
// The window "Производственная линия": the setup (reference file, stations' ports, operator,
// numbering, live limits, labels; remembered in the preferences), the four stations' tiles, the
// batch counts and the commands to start, stop after the unit under way, and abort; the day's
// sheet and the day's labels.
// Closing the window stops the line as "Стоп" does and closes at once: the stations end their
// units under way on their own threads and write their rows.

#include "BatchCounts.h"
#include "LineFigures.h"
#include "LineReport.h"
#include "LineSetup.h"
#include "PortList.h"
#include "ReferenceFile.h"

#include <QSettings>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class DayLabels;
class LabelPreview;
class LimitBox;
class PortField;
class ProductionLine;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class StationTile;
class StoreThread;
struct StationView;

class LineWindow : public QWidget {
    Q_OBJECT
public:
    struct Place {
        QString dataFolder; // the report goes under it
        QString logPath;    // the production log
        std::function<std::unique_ptr<QSettings>()> preferences;
        PortLister ports;
        QStringList defaultDevices; // the stations' ports until others are chosen
        std::function<void(const std::function<void()>&)> run; // the error handler
    };

    explicit LineWindow(Place place, QWidget* parent = nullptr);
    ~LineWindow() override;

    ProductionLine& Line() { return *line_; }
    StationTile* Tile(int station) const { return tiles_.at(static_cast<size_t>(station - 1)); }
    // The window "Этикетки за день", opened.
    DayLabels* ShowDayLabels();
    // Shows a station's state as the line reports it.
    void ShowStation(const StationView& view);
    // Units per hour are left out while there are none to tell.
    void ShowCounts(const BatchCounts& counts, std::optional<double> unitsPerHour);
    // The setup is locked and the stop commands offered while the line runs.
    void ShowRunning(bool running);

    // Starts the line with the setup as shown; false (with a message) when it cannot start.
    // Where the production log is missing and new units are numbered, a new log is begun only
    // when the operator says so; otherwise the line does not start.
    bool StartLine();

    // Asks the store for the figures of the day or the shift as set up; they are shown when
    // they come.
    void RefreshFigures();
    const std::optional<LineFigures>& Figures() const { return figures_; }
    // Checks the store as set up, saying what it finds when it has.
    void CheckStore();

signals:
    void figuresShown();
    void storeChecked(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeSetup();
    QWidget* MakeLimits();
    QWidget* MakeStore();
    QWidget* MakeFigures();
    void ShowStoreKind();
    void ShowFigures(const LineFigures& figures);
    QLayout* MakeLabels(QWidget* labels);
    LabelOptions LabelsShown() const;
    void ShowLabels(const LabelOptions& options);
    void ShowLabelPreview();
    void ChooseLabelFolder();
    // A scan typed at a station's tile, and a label printed again for the unit it shows.
    void Scanned(int station, const QString& text);
    void ReprintAt(int station);
    void Reprinted(const UnitRecord& record, const QString& problem);
    void ChooseReference();
    // The file read once; nothing when a doubtful one is not accepted.
    std::optional<ReferenceFile> AcceptReference(const QString& path);
    LineSetup SetupShown() const;
    // Throws with a message for a limit whose lower bound is above its upper one.
    void CheckLimits(const LineSetup& setup) const;
    // Whether the log is there to number from, begun anew if the operator wants it.
    bool LogReady();
    void ShowSetup(const LineSetup& setup);
    void ShowLineCounts();
    void ShowDaySheet();
    // Writes the day's attempts in the store, every PC's, to a CSV file the operator names.
    void ExportDay();
    // A line of the window's own, idle, its signals shown here.
    void MakeLine();

    Place place_;
    std::unique_ptr<ProductionLine> line_;
    QString acceptedSha256_;  // a doubtful reference file is asked about once
    QString referenceSha256_; // of the reference file shown, for the label's preview

    QLineEdit* reference_ = nullptr;
    std::array<PortField*, LineSetup::MaxStations> ports_{};
    QLineEdit* operator_ = nullptr;
    QCheckBox* numberNew_ = nullptr;
    struct LimitRow {
        uint8_t address;
        QCheckBox* on;
        LimitBox* low;
        LimitBox* high;
    };
    std::vector<LimitRow> limits_;
    QWidget* setup_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* abort_ = nullptr;
    QPushButton* daySheet_ = nullptr;
    QPushButton* exportDay_ = nullptr;
    std::array<StationTile*, LineSetup::MaxStations> tiles_{};
    QLabel* totals_ = nullptr;
    QLabel* report_ = nullptr;

    QComboBox* storeKind_ = nullptr;
    QLineEdit* host_ = nullptr;
    QSpinBox* port_ = nullptr;
    QLineEdit* database_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* service_ = nullptr;
    QLineEdit* pcName_ = nullptr;
    QLabel* storeState_ = nullptr;
    QComboBox* span_ = nullptr;
    QTimeEdit* shiftFrom_ = nullptr;
    QTimeEdit* shiftTo_ = nullptr;
    QLabel* figuresText_ = nullptr;
    std::optional<LineFigures> figures_;
    std::unique_ptr<StoreThread> storeThread_;
    QCheckBox* printLabels_ = nullptr;
    QCheckBox* scanBack_ = nullptr;
    QDoubleSpinBox* labelWidth_ = nullptr;
    QDoubleSpinBox* labelHeight_ = nullptr;
    QComboBox* labelTarget_ = nullptr; // the PDF folder first, then the printers
    QLineEdit* labelFolder_ = nullptr;
    QPushButton* chooseLabelFolder_ = nullptr;
    LabelPreview* labelPreview_ = nullptr;
    QPushButton* dayLabels_ = nullptr;
    DayLabels* dayLabelsWindow_ = nullptr;
    // Each station's last unit, as its row stands.
    std::array<std::optional<UnitRecord>, LineSetup::MaxStations> lastUnits_{};
};
