// The trend window of one station: the recorded values as curves over a time
// axis that follows the newest sample, the changes of run state, direction
// and the trips marked on that axis, and the values at the mouse cursor in a
// line of text. It redraws from the engine's trend record on a timer of its
// own, a few times a second at most and only when a sample came, so the poll
// cycle never waits for a drawing. Pause freezes the picture while the
// recording goes on. "Save as CSV" writes the whole record of the station,
// "Save as image" the plot as PNG.
#pragma once

#include "base/prompts.h"
#include "monitor/trend_recorder.h"
#include "monitor/trend_texts.h"

#include <QChartView>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QPushButton;
class QTimer;
class QValueAxis;

namespace kolt {

// The plot: the chart with the event marks and the cursor line drawn over it.
class CTrendChartView : public QChartView {
    Q_OBJECT
public:
    struct Mark {
        qint64 timeMs;
        QString label;
        QColor color;
    };
    explicit CTrendChartView(QChart* chart, QWidget* parent = nullptr);

    void SetTimeRange(qint64 fromMs, qint64 toMs);
    void SetMarks(std::vector<Mark> marks);
    const std::vector<Mark>& Marks() const { return marks_; }
    // The time under a point of the viewport; empty outside the plot area.
    std::optional<qint64> TimeAt(QPointF viewportPoint) const;
    void SetCursorTime(std::optional<qint64> timeMs);

signals:
    void cursorMoved(std::optional<qint64> timeMs);

protected:
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    double XOf(qint64 timeMs) const;

    qint64 from_ = 0, to_ = 1;
    std::vector<Mark> marks_;
    std::optional<qint64> cursor_;
};

class CTrendWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRedrawMs = 250;
    // Points drawn per curve: about one per two pixels of the plot's width,
    // never more than this; a longer span is thinned to each stretch's least
    // and greatest value.
    static constexpr int kMaxPoints = 2000;
    // A long span redraws when the newest sample has moved the picture by two
    // pixels, but at least every two seconds of samples.
    static constexpr qint64 kLongestStepMs = 2000;

    CTrendWindow(const CTrendRecorder& recorder, IPrompts& prompts, int station, const QString& caption,
                 QWidget* parent = nullptr);

    int Station() const { return station_; }
    void Retitle(const QString& caption);

    // Draws the record again now when a sample came (for a long span: enough
    // samples to move the picture by a pixel), the span changed or a monitor
    // started, and the view is not paused; true when it drew. The timer calls it.
    bool Update();
    // Draws the record again now, paused or not.
    void Redraw();
    bool Paused() const { return paused_; }
    void SetPaused(bool paused);
    // The span shown, by its position in the list (1, 5, 15, 60 minutes).
    void SetSpan(int position);

    // The two exports with their file dialogs, and without (tests, the dialogs' answers).
    void SaveCsv();
    void SaveImage();
    bool WriteCsv(const std::string& path);
    bool WriteImage(const std::string& path);

    // The samples on show, oldest first (a copy: the record runs on under a pause).
    const std::vector<TrendSample>& Shown() const { return shown_; }
    // The line of values: the sample nearest the cursor, or the newest one.
    QString ValuesLine() const;
    void ShowCursorAt(std::optional<qint64> timeMs);

    // Widgets by role, for tests.
    QLineSeries* Series(TrendQuantity q) const { return series_[static_cast<std::size_t>(q)]; }
    QCheckBox* QuantityCheck(TrendQuantity q) const { return checks_[static_cast<std::size_t>(q)]; }
    QValueAxis* UnitAxis(TrendQuantity q) const;
    QDateTimeAxis* TimeAxis() const { return timeAxis_; }
    CTrendChartView* Plot() const { return view_; }
    QComboBox* SpanList() const { return span_; }
    QPushButton* PauseButton() const { return pause_; }
    QLabel* ValuesLabel() const { return values_; }

private:
    void DrawCurves();
    void UpdateAxes();
    double PlotWidth() const;
    qint64 MinStepMs() const;
    void ShowValues();
    std::string ProposedName(const char* ext) const;
    bool WriteFile(const std::string& path, const std::string& bytes);

    const CTrendRecorder& recorder_;
    IPrompts& prompts_;
    int station_;
    bool paused_ = false;
    qint64 spanMs_ = 5 * 60 * 1000;
    bool dirty_ = true;
    std::uint64_t generation_ = ~0ull;
    std::uint64_t pushed_ = 0;
    qint64 drawnNewest_ = 0;
    std::vector<TrendSample> shown_;
    std::optional<qint64> cursor_;

    QChart* chart_;
    CTrendChartView* view_;
    QDateTimeAxis* timeAxis_;
    std::array<QValueAxis*, 4> unitAxes_{};  // Hz, V, A, W
    std::array<QLineSeries*, kTrendQuantities> series_{};
    std::array<QCheckBox*, kTrendQuantities> checks_{};
    QComboBox* span_;
    QPushButton* pause_;
    QLabel* values_;
    QTimer* timer_;
};

}  // namespace kolt
