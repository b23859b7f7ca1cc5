// The trend window on a record filled by the test: what the plot and the line
// of values show, the thinning of a long span, and the two exports with their
// failures. The drive-driven case is with the monitor commands' tests.
#include "core/fake_prompts.h"
#include "monitor/ui/trend_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>

#include <gtest/gtest.h>

#include <algorithm>

namespace kolt::testing {
namespace {

constexpr std::int64_t kStart = 1796552100000;  // 2026-12-06 10:15:00 UTC

class TrendWindowTest : public ::testing::Test {
protected:
    std::int64_t now = kStart;
    CTrendRecorder recorder{kTrendCapacity, [this] { return now; }};
    FakePrompts fake;
    QTemporaryDir dir;

    // A sample every 400 ms: running from the second one, the output frequency
    // climbing 0.50 Hz a sample to the set 50.00 Hz.
    void Record(int samples) {
        for (int i = 0; i < samples; ++i, now += 400)
            recorder.Record(4, {.setFreq = 5000, .outFreq = std::min(5000, i * 50), .outVolt = 2200, .busVolt = 3110,
                                .outAmp = 26, .running = i > 0 ? 1 : 0});
    }
    std::string Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }
    static QByteArray Contents(const std::string& path) {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(TrendWindowTest, ShowsTheSpanWithMarksAndTheValuesAtTheCursor) {
    Record(3);
    CTrendWindow w(recorder, fake, 4, "Station: 004");
    QLineSeries* out = w.Series(TrendQuantity::OutFreq);
    ASSERT_EQ(out->count(), 3);
    ASSERT_EQ(w.Plot()->Marks().size(), 1u);
    EXPECT_EQ(std::tuple(out->at(2), w.Plot()->Marks()[0].label, w.Plot()->Marks()[0].timeMs),
              std::tuple(QPointF(kStart + 800, 1.0), "RUN", kStart + 400));
    EXPECT_FALSE(w.Update());  // nothing new: no drawing

    // The line of values: the newest sample, or the one nearest the cursor.
    const QString newest = w.ValuesLabel()->text();
    EXPECT_TRUE(newest.endsWith("  Set freq. 50.00 Hz  Output freq. 1.00 Hz  Output volt. 220.0 V  Bus volt. 311.0 V  "
                                "Output amp. 2.6 A  Output power 572.00 W  RUN  FWD >>"))
        << newest.toStdString();
    // The mouse at the plot's left edge is a span back: the oldest sample is nearest.
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QRectF plot = w.Plot()->chart()->plotArea();
    QTest::mouseMove(w.Plot()->viewport(), w.Plot()->mapFromScene(plot.topLeft() + QPointF(2, 20)));
    EXPECT_TRUE(w.ValuesLabel()->text().contains("Output freq. 0.00 Hz") && w.ValuesLabel()->text().contains("STOP"))
        << w.ValuesLabel()->text().toStdString();
    w.ShowCursorAt(kStart + 700);
    EXPECT_TRUE(w.ValuesLabel()->text().contains("Output freq. 1.00 Hz")) << w.ValuesLabel()->text().toStdString();

    // A quantity unchecked hides its curve; an axis shows while one of its curves does.
    w.QuantityCheck(TrendQuantity::OutAmp)->setChecked(false);
    EXPECT_EQ(std::tuple(w.Series(TrendQuantity::OutAmp)->isVisible(), w.UnitAxis(TrendQuantity::OutAmp)->isVisible()),
              std::tuple(false, false));
    w.QuantityCheck(TrendQuantity::OutFreq)->setChecked(false);
    EXPECT_TRUE(w.UnitAxis(TrendQuantity::OutFreq)->isVisible());  // the set frequency still draws in Hz
    EXPECT_GE(w.UnitAxis(TrendQuantity::SetFreq)->max(), 50.0);

    // The span cuts the record: a minute of a long run holds 150 samples.
    Record(400);
    EXPECT_TRUE(w.Update());
    w.SetSpan(0);
    // Both ends of the minute are in; a quantity not chosen is not drawn.
    EXPECT_EQ(std::tuple(w.Series(TrendQuantity::SetFreq)->count(), out->count()), std::tuple(151, 0));
    w.QuantityCheck(TrendQuantity::OutFreq)->setChecked(true);
    EXPECT_EQ(std::tuple(out->count(), w.Plot()->Marks().size()), std::tuple(151, 0u));
}

TEST_F(TrendWindowTest, AnHourIsThinnedWithoutLosingItsPeak) {
    Record(kTrendCapacity);
    recorder.Record(4, {.outFreq = 9999});  // one sample alone among 9100
    now += 400;
    Record(100);
    CTrendWindow w(recorder, fake, 4, "Station: 004");
    w.SetSpan(3);
    QLineSeries* out = w.Series(TrendQuantity::OutFreq);
    EXPECT_LE(out->count(), CTrendWindow::kMaxPoints + 2);
    double top = 0;
    for (const QPointF& p : out->points()) top = std::max(top, p.y());
    EXPECT_DOUBLE_EQ(top, 99.99);
}

TEST_F(TrendWindowTest, SavesTheRecordAsCsvAndThePlotAsPngOrSaysWhyNot) {
    Record(2);
    CTrendWindow w(recorder, fake, 4, "Station: 004");
    fake.savePaths = {Path("t.csv"), Path("t.png"), Path("missing/t.csv")};
    w.SaveCsv();
    EXPECT_EQ(Contents(Path("t.csv")).toStdString(),
              "time,station,running,reverse,set_freq_Hz,output_freq_Hz,output_volt_V,output_amp_A,output_power_W,"
              "bus_volt_V,fault_code,fault_name,S1,S2,S3,S4,AIN,RY1\n"
              "2026-12-06T10:15:00.000Z,4,0,0,50.00,0.00,220.0,2.6,572.00,311.0,0,,0,0,0,0,0,0\n"
              "2026-12-06T10:15:00.400Z,4,1,0,50.00,0.50,220.0,2.6,572.00,311.0,0,,0,0,0,0,0,0\n");
    w.SaveImage();
    EXPECT_TRUE(Contents(Path("t.png")).startsWith("\x89PNG\r\n\x1a\n") && fake.shown.empty());

    w.SaveCsv();
    ASSERT_EQ(fake.shown.size(), 1u);
    // No temporary left behind.
    EXPECT_EQ(std::tuple(fake.shown[0].caption + ": " + fake.shown[0].text,
                         QFile::exists(QString::fromStdString(Path("missing/t.csv"))), QDir(dir.path()).entryList(QDir::Files).size()),
              std::tuple("Trend: Could not write the file " + Path("missing/t.csv") + ": No such file or directory", false, 2));
    w.SaveCsv();  // cancelled: nothing
    EXPECT_EQ(fake.shown.size(), 1u);
}

}  // namespace
}  // namespace kolt::testing
