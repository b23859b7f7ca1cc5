#include "monitor/ui/trend_window.h"

#include "base/atomic_write.h"
#include "base/texts.h"
#include "monitor/monitor_texts.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kolt {

namespace {

QString Q(const char* s) { return QString::fromUtf8(s); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

enum Unit { kHz = 0, kVolt = 1, kAmp = 2, kWatt = 3 };
constexpr int kUnitTicks = 5;

Unit UnitOf(TrendQuantity q) {
    switch (q) {
    case TrendQuantity::SetFreq:
    case TrendQuantity::OutFreq: return kHz;
    case TrendQuantity::OutVolt:
    case TrendQuantity::BusVolt: return kVolt;
    case TrendQuantity::OutAmp: return kAmp;
    case TrendQuantity::OutPower: return kWatt;
    }
    return kHz;
}

constexpr const char* kUnitNames[4] = {text::kUnitHz, text::kUnitV, text::kUnitA, text::kUnitW};
// Frequencies and current on the left, voltages and power on the right.
constexpr Qt::Alignment kUnitSide[4] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignRight};
const QColor kSeriesColors[kTrendQuantities] = {QColor(0x9a, 0x9a, 0x9a), QColor(0x1f, 0x5f, 0xbf),
                                                 QColor(0x2e, 0x8b, 0x3e), QColor(0x7a, 0x4f, 0xa8),
                                                 QColor(0xd2, 0x6a, 0x00), QColor(0x8b, 0x5a, 0x2b)};
constexpr bool kShownAtFirst[kTrendQuantities] = {true, true, true, false, true, false};

// The top of a unit axis at or above `value` whose four steps are 1, 2, 2.5
// or 5 times a power of ten, so every axis puts its five ticks on the same
// grid lines.
double NiceTop(double value) {
    const double step = value / (kUnitTicks - 1);
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= step) return m * power * (kUnitTicks - 1);
    return 10 * power * (kUnitTicks - 1);
}

QString TimeText(qint64 ms) { return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("hh:mm:ss.zzz")); }

CTrendChartView::Mark MarkOf(const TrendEvent& e, qint64 timeMs) {
    switch (e.kind) {
    case TrendEventKind::Run: return {timeMs, Q(text::kTrendEventRun), QColor(0x2e, 0x8b, 0x3e)};
    case TrendEventKind::Stop: return {timeMs, Q(text::kTrendEventStop), QColor(0x55, 0x55, 0x55)};
    case TrendEventKind::Forward: return {timeMs, Q(text::kTrendEventFwd), QColor(0x1f, 0x5f, 0xbf)};
    case TrendEventKind::Reverse: return {timeMs, Q(text::kTrendEventRev), QColor(0x1f, 0x5f, 0xbf)};
    case TrendEventKind::Trip: break;
    }
    return {timeMs, Q(FaultName(e.faultCode)).trimmed(), QColor(0xc8, 0x10, 0x10)};
}

}  // namespace

// ---------------------------------------------------------------- the plot

CTrendChartView::CTrendChartView(QChart* chart, QWidget* parent) : QChartView(chart, parent) {
    setObjectName(QStringLiteral("trendPlot"));
    // No antialiasing: it doubles the cost of a redraw, and the curves are drawn
    // at about one point per two pixels anyway.
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

void CTrendChartView::SetTimeRange(qint64 fromMs, qint64 toMs) {
    from_ = fromMs;
    to_ = std::max(toMs, fromMs + 1);
}

void CTrendChartView::SetMarks(std::vector<Mark> marks) {
    marks_ = std::move(marks);
    viewport()->update();
}

double CTrendChartView::XOf(qint64 timeMs) const {
    const QRectF plot = chart()->plotArea();
    return plot.left() + plot.width() * static_cast<double>(timeMs - from_) / static_cast<double>(to_ - from_);
}

std::optional<qint64> CTrendChartView::TimeAt(QPointF viewportPoint) const {
    const QPointF scene = mapToScene(viewportPoint.toPoint());
    const QRectF plot = chart()->plotArea();
    if (!plot.contains(scene) || plot.width() <= 0) return std::nullopt;
    return from_ + static_cast<qint64>(std::llround((scene.x() - plot.left()) / plot.width() *
                                                    static_cast<double>(to_ - from_)));
}

void CTrendChartView::SetCursorTime(std::optional<qint64> timeMs) {
    cursor_ = timeMs;
    viewport()->update();
}

void CTrendChartView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF plot = chart()->plotArea();
    painter->save();
    painter->setClipRect(plot.adjusted(-1, -1, 1, 1));
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    small.setBold(true);
    painter->setFont(small);
    const QFontMetricsF fm(small);
    // Labels of marks close together go one row lower, so none hides another.
    std::vector<double> rowEnds;
    for (const Mark& m : marks_) {
        if (m.timeMs < from_ || m.timeMs > to_) continue;
        const double x = XOf(m.timeMs);
        painter->setPen(QPen(m.color, 1.2, Qt::DashLine));
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        const double w = fm.horizontalAdvance(m.label) + 6;
        std::size_t row = 0;
        while (row < rowEnds.size() && rowEnds[row] > x) ++row;
        if (row == rowEnds.size()) rowEnds.push_back(0);
        rowEnds[row] = x + w + 2;
        const QRectF box(x + 1, plot.top() + 2 + static_cast<double>(row) * (fm.height() + 2), w, fm.height());
        painter->fillRect(box, QColor(255, 255, 255, 210));
        painter->setPen(m.color);
        painter->drawText(box, Qt::AlignCenter, m.label);
    }
    if (cursor_ && *cursor_ >= from_ && *cursor_ <= to_) {
        const double x = XOf(*cursor_);
        painter->setPen(QPen(QColor(0, 0, 0, 160), 1.0));
        painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter->restore();
}

void CTrendChartView::mouseMoveEvent(QMouseEvent* event) {
    emit cursorMoved(TimeAt(event->position()));
    QChartView::mouseMoveEvent(event);
}

void CTrendChartView::leaveEvent(QEvent* event) {
    emit cursorMoved(std::nullopt);
    QChartView::leaveEvent(event);
}

// ---------------------------------------------------------------- the window

CTrendWindow::CTrendWindow(const CTrendRecorder& recorder, IPrompts& prompts, int station, const QString& caption,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), recorder_(recorder), prompts_(prompts), station_(station) {
    setObjectName(QStringLiteral("trendWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    Retitle(caption);

    chart_ = new QChart;
    chart_->setMargins(QMargins(4, 4, 4, 4));
    // The check boxes name the curves in their colours: no legend.
    chart_->legend()->hide();
    timeAxis_ = new QDateTimeAxis;
    timeAxis_->setFormat(QStringLiteral("hh:mm:ss"));
    timeAxis_->setTickCount(7);
    timeAxis_->setTitleText(Q(text::kTrendAxisTime));
    chart_->addAxis(timeAxis_, Qt::AlignBottom);
    for (int u = 0; u < 4; ++u) {
        auto* axis = new QValueAxis;
        axis->setTitleText(Q(kUnitNames[u]));
        axis->setLabelFormat(QStringLiteral("%g"));
        axis->setRange(0, 1);
        axis->setTickCount(kUnitTicks);
        chart_->addAxis(axis, kUnitSide[u]);
        unitAxes_[static_cast<std::size_t>(u)] = axis;
    }

    auto* checks = new QHBoxLayout;
    for (int i = 0; i < kTrendQuantities; ++i) {
        const auto q = static_cast<TrendQuantity>(i);
        const TrendQuantityInfo& info = QuantityInfo(q);
        auto* series = new QLineSeries;
        series->setName(QStringLiteral("%1 (%2)").arg(Q(info.label), Q(info.unit)));
        series->setPen(QPen(kSeriesColors[i], 2.0));
        chart_->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(unitAxes_[static_cast<std::size_t>(UnitOf(q))]);
        series->setVisible(kShownAtFirst[i]);
        series_[static_cast<std::size_t>(i)] = series;

        auto* check = new QCheckBox(QStringLiteral("%1 %2").arg(Q(info.label), Q(info.unit)));
        check->setObjectName(QStringLiteral("quantity%1").arg(i));
        check->setChecked(kShownAtFirst[i]);
        QPalette pal = check->palette();
        pal.setColor(QPalette::WindowText, kSeriesColors[i].darker(120));
        check->setPalette(pal);
        connect(check, &QCheckBox::toggled, this, [this, series](bool on) {
            series->setVisible(on);
            DrawCurves();
        });
        checks_[static_cast<std::size_t>(i)] = check;
        checks->addWidget(check);
    }
    checks->addStretch(1);

    span_ = new QComboBox;
    span_->setObjectName(QStringLiteral("span"));
    for (const char* s : text::kTrendSpans) span_->addItem(Q(s));
    span_->setCurrentIndex(1);
    connect(span_, &QComboBox::currentIndexChanged, this, &CTrendWindow::SetSpan);
    auto* spanLabel = new QLabel(Q(text::kTrendSpanLabel));
    spanLabel->setBuddy(span_);
    pause_ = new QPushButton(Q(text::kTrendPause));
    pause_->setObjectName(QStringLiteral("pause"));
    pause_->setCheckable(true);
    pause_->setAutoDefault(false);
    connect(pause_, &QPushButton::toggled, this, &CTrendWindow::SetPaused);
    checks->addWidget(spanLabel);
    checks->addWidget(span_);
    checks->addWidget(pause_);

    view_ = new CTrendChartView(chart_);
    view_->setMinimumSize(760, 400);
    connect(view_, &CTrendChartView::cursorMoved, this, &CTrendWindow::ShowCursorAt);

    values_ = new QLabel;
    values_->setObjectName(QStringLiteral("values"));
    values_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    values_->setToolTip(Q(text::kTrendCursorHint));

    auto* saveCsv = new QPushButton(Q(text::kTrendSaveCsv));
    saveCsv->setObjectName(QStringLiteral("saveCsv"));
    connect(saveCsv, &QPushButton::clicked, this, &CTrendWindow::SaveCsv);
    auto* saveImage = new QPushButton(Q(text::kTrendSaveImage));
    saveImage->setObjectName(QStringLiteral("saveImage"));
    connect(saveImage, &QPushButton::clicked, this, &CTrendWindow::SaveImage);
    auto* close = new QPushButton(Q(text::kTrendClose));
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(saveCsv);
    bottom->addWidget(saveImage);
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* top = new QVBoxLayout(this);
    top->addLayout(checks);
    top->addWidget(view_, 1);
    top->addWidget(values_);
    top->addLayout(bottom);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    timer_ = new QTimer(this);
    timer_->setInterval(kRedrawMs);
    connect(timer_, &QTimer::timeout, this, &CTrendWindow::Update);
    timer_->start();
    Redraw();
}

void CTrendWindow::Retitle(const QString& caption) { setWindowTitle(Q(text::kTrendTitle) + caption); }

QValueAxis* CTrendWindow::UnitAxis(TrendQuantity q) const { return unitAxes_[static_cast<std::size_t>(UnitOf(q))]; }

void CTrendWindow::SetSpan(int position) {
    if (position < 0 || position >= static_cast<int>(std::size(text::kTrendSpanMinutes))) return;
    if (span_->currentIndex() != position) return span_->setCurrentIndex(position);  // comes back here
    spanMs_ = static_cast<qint64>(text::kTrendSpanMinutes[position]) * 60 * 1000;
    dirty_ = true;
    if (!paused_) Redraw();
}

void CTrendWindow::SetPaused(bool paused) {
    if (pause_->isChecked() != paused) return pause_->setChecked(paused);  // comes back here
    paused_ = paused;
    pause_->setText(Q(paused ? text::kTrendResume : text::kTrendPause));
    if (!paused) {
        dirty_ = true;  // Resume catches up at once
        Update();
    }
    ShowValues();
}

bool CTrendWindow::Update() {
    if (paused_) return false;
    const TrendRing* ring = recorder_.Ring(station_);
    const std::uint64_t pushed = ring ? ring->Pushed() : 0;
    const bool same = !dirty_ && recorder_.Generation() == generation_;
    if (same && pushed == pushed_) return false;
    // A long span moves less than two pixels a sample: it waits for two pixels' worth.
    if (same && ring && !ring->Empty() && ring->Newest().timeMs - drawnNewest_ < MinStepMs()) return false;
    Redraw();
    return true;
}

double CTrendWindow::PlotWidth() const {
    const double width = chart_->plotArea().width();
    return width > 10 ? width : 800;
}

qint64 CTrendWindow::MinStepMs() const {
    return std::min<qint64>(kLongestStepMs, static_cast<qint64>(2 * static_cast<double>(spanMs_) / PlotWidth()));
}

void CTrendWindow::Redraw() {
    dirty_ = false;
    generation_ = recorder_.Generation();
    const TrendRing* ring = recorder_.Ring(station_);
    pushed_ = ring ? ring->Pushed() : 0;
    shown_.clear();
    std::vector<CTrendChartView::Mark> marks;
    qint64 to = QDateTime::currentMSecsSinceEpoch();
    if (ring && !ring->Empty()) {
        to = ring->Newest().timeMs;
        const std::size_t first = ring->FirstAtOrAfter(to - spanMs_);
        const std::size_t count = ring->Size() - first;
        shown_.reserve(count);
        for (std::size_t i = first; i < ring->Size(); ++i) shown_.push_back(ring->At(i));
        for (const TrendEvent& e : FindTrendEvents(*ring, first, count))
            marks.push_back(MarkOf(e, ring->At(e.index).timeMs));
    }
    drawnNewest_ = to;
    const qint64 from = to - spanMs_;
    timeAxis_->setRange(QDateTime::fromMSecsSinceEpoch(from), QDateTime::fromMSecsSinceEpoch(to));
    view_->SetTimeRange(from, to);
    view_->SetMarks(std::move(marks));
    DrawCurves();
    ShowValues();
}

void CTrendWindow::DrawCurves() {
    // A span with more samples than the plot has pixel pairs keeps, of each
    // stretch of samples, its least and its greatest value in their order, so
    // no peak is lost.
    const std::size_t n = shown_.size();
    const auto budget = static_cast<std::size_t>(std::clamp(static_cast<int>(PlotWidth() / 2), 200, kMaxPoints));
    const std::size_t stretch = n > budget ? (n + budget / 2 - 1) / (budget / 2) : 1;
    for (int i = 0; i < kTrendQuantities; ++i) {
        QLineSeries* series = series_[static_cast<std::size_t>(i)];
        if (!series->isVisible()) {
            if (series->count()) series->clear();  // drawn again when it is chosen
            continue;
        }
        const auto q = static_cast<TrendQuantity>(i);
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(std::min(n, budget + 2)));
        for (std::size_t start = 0; start < n; start += stretch) {
            const std::size_t end = std::min(n, start + stretch);
            std::size_t lo = start, hi = start;
            for (std::size_t k = start + 1; k < end; ++k) {
                if (QuantityValue(shown_[k], q) < QuantityValue(shown_[lo], q)) lo = k;
                if (QuantityValue(shown_[k], q) > QuantityValue(shown_[hi], q)) hi = k;
            }
            for (std::size_t k : {std::min(lo, hi), std::max(lo, hi)}) {
                points.append(QPointF(static_cast<qreal>(shown_[k].timeMs), QuantityValue(shown_[k], q)));
                if (lo == hi) break;
            }
        }
        series->replace(points);
    }
    UpdateAxes();
}

void CTrendWindow::UpdateAxes() {
    std::array<double, 4> top{};
    std::array<bool, 4> used{};
    for (int i = 0; i < kTrendQuantities; ++i) {
        if (!series_[static_cast<std::size_t>(i)]->isVisible()) continue;
        const auto q = static_cast<TrendQuantity>(i);
        const auto u = static_cast<std::size_t>(UnitOf(q));
        used[u] = true;
        for (const TrendSample& s : shown_) top[u] = std::max(top[u], QuantityValue(s, q));
    }
    for (std::size_t u = 0; u < 4; ++u) {
        QValueAxis* axis = unitAxes_[u];
        if (axis->isVisible() != used[u]) axis->setVisible(used[u]);
        // The scale changes only when the curves leave it or shrink well inside it.
        const double want = std::max(1.0, top[u] * 1.05);
        if (want > axis->max() || want < axis->max() * 0.5) axis->setRange(0, NiceTop(want));
    }
}

static std::optional<std::size_t> NearestShown(const std::vector<TrendSample>& shown, qint64 timeMs) {
    if (shown.empty()) return std::nullopt;
    const auto it = std::lower_bound(shown.begin(), shown.end(), timeMs,
                                     [](const TrendSample& s, qint64 t) { return s.timeMs < t; });
    std::size_t k = static_cast<std::size_t>(it - shown.begin());
    if (k == shown.size()) return k - 1;
    if (k > 0 && timeMs - shown[k - 1].timeMs < shown[k].timeMs - timeMs) --k;
    return k;
}

QString CTrendWindow::ValuesLine() const {
    QString line = paused_ ? Q(text::kTrendPaused) + QStringLiteral("  ") : QString();
    const std::optional<std::size_t> k = NearestShown(shown_, cursor_.value_or(shown_.empty() ? 0 : shown_.back().timeMs));
    if (!k) return line + Q(text::kTrendNoSamples);
    const TrendSample& s = shown_[*k];
    return line + TimeText(s.timeMs) + QStringLiteral("  ") + Q(TrendValuesText(s));
}

void CTrendWindow::ShowValues() { values_->setText(ValuesLine()); }

void CTrendWindow::ShowCursorAt(std::optional<qint64> timeMs) {
    cursor_ = timeMs;
    view_->SetCursorTime(timeMs);
    ShowValues();
}

// ---------------------------------------------------------------- export

std::string CTrendWindow::ProposedName(const char* ext) const {
    char name[64];
    std::snprintf(name, sizeof name, text::kTrendFileName, station_);
    return std::string(name) + "." + ext;
}

bool CTrendWindow::WriteFile(const std::string& path, const std::string& bytes) {
    std::string reason;
    if (ReplaceFileContents(path, bytes, reason)) return true;
    prompts_.Message(std::string(text::kTrendNotWritten) + path + ": " + reason, text::kTrendCaption, Icon::Error);
    return false;
}

bool CTrendWindow::WriteCsv(const std::string& path) {
    const TrendRing* ring = recorder_.Ring(station_);
    return WriteFile(path, ring ? TrendCsv(station_, *ring) : TrendCsvHeader() + "\n");
}

bool CTrendWindow::WriteImage(const std::string& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!view_->grab().save(&buffer, "PNG")) {
        prompts_.Message(std::string(text::kTrendNotWritten) + path + ": " + text::kTrendImageFailed,
                         text::kTrendCaption, Icon::Error);
        return false;
    }
    return WriteFile(path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void CTrendWindow::SaveCsv() {
    if (const auto path = prompts_.AskSavePath(text::kTrendCsvFilter, text::kTrendCsvExt, ProposedName("csv")))
        WriteCsv(*path);
}

void CTrendWindow::SaveImage() {
    if (const auto path = prompts_.AskSavePath(text::kTrendImageFilter, text::kTrendImageExt, ProposedName("png")))
        WriteImage(*path);
}

}  // namespace kolt
