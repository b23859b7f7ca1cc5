#include "view/ui/print_painter.h"

#include "base/texts.h"

#include <QFile>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <algorithm>

namespace kolt {

namespace {

// Font sizes are character heights in 0.01 inch, the painter's unit.
struct FontSpec {
    const char* family;
    const char* substitute;
    QFont::StyleHint hint;
    int height;
    int weight;
};
constexpr FontSpec kFonts[] = {
    {"Arial", "Liberation Sans", QFont::SansSerif, 16, 700},
    {"Times New Roman", "Liberation Serif", QFont::Serif, 14, 400},
    {"Courier New", "Liberation Mono", QFont::TypeWriter, 14, 400},
};

QColor ToQColor(const PrintColour& c) { return QColor(c.r, c.g, c.b); }

QString FitToRoom(QString s, const QFontMetricsF& metrics, double room) {
    const QString mark = QString::fromLatin1(text::kPrintCutMark);
    if (s.endsWith(mark)) s.chop(mark.size());
    while (!s.isEmpty()) {
        s.chop(s.size() >= 2 && s.at(s.size() - 1).isLowSurrogate() ? 2 : 1);
        while (s.endsWith(QLatin1Char(' '))) s.chop(1);
        if (metrics.horizontalAdvance(s + mark) <= room) return s + mark;
    }
    return metrics.horizontalAdvance(mark) <= room ? mark : QString();
}

}  // namespace

QFont PrintQFont(PrintFont which) {
    const FontSpec& s = kFonts[static_cast<int>(which)];
    QFont font;
    font.setFamilies({QString::fromLatin1(s.family), QString::fromLatin1(s.substitute)});
    font.setStyleHint(s.hint);
    font.setPixelSize(s.height);
    font.setWeight(QFont::Weight(s.weight));
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferNoHinting);  // metrics at print size, not at 14 pixels
    return font;
}

void PaintPrintPage(QPainter& painter, const PrintPage& page) {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const PrintRule& r : page.rules) {
        QPen pen(Qt::black);
        pen.setWidthF(r.width);
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(r.x1, -r.y1), QPointF(r.x2, -r.y2));
    }
    for (const PrintText& t : page.texts) {
        if (t.text.empty()) continue;
        const QFont font = PrintQFont(t.font);
        painter.setFont(font);
        painter.setPen(ToQColor(t.colour));
        // The layout places the top of the character cell; Qt draws on the baseline.
        const QFontMetricsF metrics(font, painter.device());
        QString s = QString::fromStdString(t.text);
        // A substitute font wider than the page fonts' metrics: cut again with its own widths.
        if (t.room > 0 && metrics.horizontalAdvance(s) > t.room) s = FitToRoom(s, metrics, t.room);
        double x = t.x;
        if (t.align == PrintAlign::Right) x -= metrics.horizontalAdvance(s);
        painter.drawText(QPointF(x, -t.y + metrics.ascent()), s);
    }
    painter.restore();
}

void PaintPrintJob(QPainter& painter, QPagedPaintDevice& device, const PrintJob& job, bool landscape, int first,
                   int last) {
    // Device pixels per 0.01 inch, and the printable area in 0.01 inch.
    const double sx = device.logicalDpiX() / 100.0;
    const double sy = device.logicalDpiY() / 100.0;
    const double width = device.width() / sx;
    const double height = device.height() / sy;

    const int pages = JobPageCount(job, landscape);
    // Shrink every page alike when the sheet is too small for the fullest one
    // (Letter is half an inch shorter than A4).
    int depth = 0;
    for (int p = 1; p <= pages; ++p)
        depth = std::max(depth, PageDepth(LayoutPrintPage(job, p, kPrintFrameRight + 1, landscape)));
    double shrink = 1.0;
    if (depth > height) shrink = height / depth;
    if (kPrintFrameRight + 1 > width) shrink = std::min(shrink, width / (kPrintFrameRight + 1));
    const int right = static_cast<int>(width / shrink);

    const int from = std::clamp(first > 0 ? first : 1, 1, pages);
    const int to = std::clamp(last > 0 ? last : pages, from, pages);
    for (int p = from; p <= to; ++p) {
        if (p > from) device.newPage();
        painter.save();
        painter.scale(sx * shrink, sy * shrink);
        PaintPrintPage(painter, LayoutPrintPage(job, p, right, landscape));
        painter.restore();
    }
}

bool WritePrintPdf(const PrintJob& job, const QString& path, bool landscape) {
    {
        // QPdfWriter does not tell when its file cannot be opened.
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) return false;
    }
    QPdfWriter writer(path);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch));
    writer.setCreator(QStringLiteral("KOLT Quendal 1.2"));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    PaintPrintJob(painter, writer, job, landscape);
    return painter.end();
}

}  // namespace kolt
