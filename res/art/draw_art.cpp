// Draws the bundled toolbar icons, the program icon, the splash and the About
// picture into res/. Not part of the build; run it after changing a drawing:
//   g++ -std=c++20 -fPIC res/art/draw_art.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw_art
//   QT_QPA_PLATFORM=offscreen /tmp/draw_art res
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

const QColor kInk(40, 52, 72);
const QColor kBlue(38, 110, 190);
const QColor kPaper(250, 250, 246);
const QColor kGreen(46, 150, 80);
const QColor kOrange(226, 128, 32);

// Icons are drawn on a 32-unit canvas and saved at 32 px (Qt scales them down for 16 px buttons).
void Icon(const QString& dir, const char* name, const std::function<void(QPainter&)>& draw) {
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    img.save(dir + "/icons/" + name + ".png");
}

void Sheet(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 7, r.top());
    path.lineTo(r.right(), r.top() + 7);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
    p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

void Lines(QPainter& p, QRectF r, int n) {
    p.setPen(QPen(QColor(120, 130, 150), 1.4));
    for (int i = 0; i < n; ++i)
        p.drawLine(QPointF(r.left(), r.top() + i * 4), QPointF(r.right(), r.top() + i * 4));
}

void Arrow(QPainter& p, QPointF from, QPointF to, QColor c) {
    p.setPen(QPen(c, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    QPolygonF head;
    head << to + d * 3 << to - d * 5 + n * 5 << to - d * 5 - n * 5;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(head);
}

// A small drive: a box with a display and a key row.
void Drive(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(214, 220, 228));
    p.drawRoundedRect(r, 2.5, 2.5);
    p.setBrush(QColor(30, 60, 40));
    p.drawRect(QRectF(r.left() + 3, r.top() + 3, r.width() - 6, r.height() * 0.32));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 240, 140));
    p.drawRect(QRectF(r.left() + 5, r.top() + 5, r.width() * 0.4, 2));
    p.setBrush(kInk);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(r.left() + 5 + i * (r.width() - 10) / 2, r.bottom() - 5), 1.6, 1.6);
}

void DrawIcons(const QString& dir) {
    Icon(dir, "new", [](QPainter& p) {
        Sheet(p, QRectF(6, 3, 20, 26));
        p.setPen(QPen(kOrange, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 19), QPointF(22, 29));
        p.drawLine(QPointF(17, 24), QPointF(27, 24));
    });
    Icon(dir, "open", [](QPainter& p) {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(240, 200, 90));
        p.drawRoundedRect(QRectF(3, 8, 24, 19), 2, 2);
        p.drawRect(QRectF(3, 6, 10, 4));
        QPolygonF flap;
        flap << QPointF(7, 14) << QPointF(30, 14) << QPointF(26, 27) << QPointF(3, 27);
        p.setBrush(QColor(252, 222, 120));
        p.drawPolygon(flap);
    });
    Icon(dir, "save", [](QPainter& p) {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(8, 4, 16, 9));
        p.setBrush(QColor(200, 210, 225));
        p.drawRect(QRectF(9, 18, 14, 10));
        p.setBrush(kInk);
        p.drawRect(QRectF(19, 6, 3, 5));
    });
    Icon(dir, "print", [](QPainter& p) {
        Sheet(p, QRectF(9, 2, 14, 12));
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(200, 205, 215));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(8, 20, 16, 9));
        Lines(p, QRectF(11, 23, 10, 0), 2);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
    });
    Icon(dir, "preview", [](QPainter& p) {
        Sheet(p, QRectF(4, 2, 19, 25));
        Lines(p, QRectF(7, 10, 10, 0), 3);
        p.setPen(QPen(kInk, 2.2));
        p.setBrush(QColor(190, 220, 250, 200));
        p.drawEllipse(QPointF(19, 19), 6, 6);
        p.setPen(QPen(kInk, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(23.5, 23.5), QPointF(29, 29));
    });
    Icon(dir, "link", [](QPainter& p) {
        Drive(p, QRectF(2, 8, 12, 18));
        Drive(p, QRectF(18, 8, 12, 18));
        p.setPen(QPen(kGreen, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 17), QPointF(18, 17));
        p.drawLine(QPointF(8, 8), QPointF(8, 4));
        p.drawLine(QPointF(8, 4), QPointF(24, 4));
        p.drawLine(QPointF(24, 4), QPointF(24, 8));
    });
    Icon(dir, "read", [](QPainter& p) {
        Drive(p, QRectF(3, 2, 14, 20));
        Sheet(p, QRectF(17, 12, 12, 17));
        Arrow(p, QPointF(12, 25), QPointF(16, 25), kBlue);
        Arrow(p, QPointF(10, 20), QPointF(18, 26), kBlue);
    });
    Icon(dir, "write", [](QPainter& p) {
        Sheet(p, QRectF(3, 12, 12, 17));
        Drive(p, QRectF(15, 2, 14, 20));
        Arrow(p, QPointF(10, 26), QPointF(19, 19), kOrange);
    });
    Icon(dir, "monitor", [](QPainter& p) {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(25, 35, 45));
        p.drawRoundedRect(QRectF(2, 4, 28, 20), 2, 2);
        p.setBrush(QColor(200, 205, 215));
        p.drawRect(QRectF(12, 24, 8, 3));
        p.drawRect(QRectF(8, 27, 16, 2));
        p.setPen(QPen(QColor(110, 240, 130), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPolygonF trace;
        trace << QPointF(5, 16) << QPointF(10, 16) << QPointF(13, 9) << QPointF(17, 20) << QPointF(20, 13)
              << QPointF(27, 13);
        p.drawPolyline(trace);
    });
    Icon(dir, "help", [](QPainter& p) {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        QFont f("DejaVu Sans", 17, QFont::Bold);
        f.setPixelSize(20);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, "?");
    });
}

// The program icon: a drive with a waveform.
void DrawProgramIcon(const QString& dir) {
    QImage img(128, 128, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 128);
    g.setColorAt(0, QColor(60, 130, 210));
    g.setColorAt(1, QColor(24, 70, 140));
    p.setPen(QPen(QColor(20, 40, 80), 3));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(10, 6, 108, 116), 14, 14);
    p.setBrush(QColor(20, 40, 30));
    p.drawRoundedRect(QRectF(22, 18, 84, 42), 5, 5);
    p.setPen(QPen(QColor(110, 240, 130), 5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath wave;
    wave.moveTo(28, 39);
    for (int x = 28; x <= 100; ++x)
        wave.lineTo(x, 39 - 14 * std::sin((x - 28) / 72.0 * 2 * M_PI));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    p.setPen(QPen(QColor(20, 40, 80), 3));
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 0 ? kGreen : (i == 1 ? QColor(220, 60, 50) : QColor(230, 230, 230)));
        p.drawEllipse(QPointF(36 + i * 28, 90), 10, 10);
    }
    p.end();
    img.save(dir + "/icons/kolt.png");
}

void DrawSplash(const QString& dir) {
    QImage img(520, 300, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 520, 300);
    g.setColorAt(0, QColor(22, 58, 112));
    g.setColorAt(1, QColor(10, 24, 48));
    p.fillRect(img.rect(), g);
    // Output current of a drive starting up: a sine wave whose frequency rises.
    p.setPen(QPen(QColor(90, 200, 255, 90), 2));
    for (int k = 0; k < 3; ++k) {
        QPainterPath wave;
        double phase = k * 2.1;
        wave.moveTo(0, 210);
        for (int x = 0; x <= 520; ++x) {
            phase += 0.012 + x * 0.00012;
            wave.lineTo(x, 210 + 38 * std::sin(phase));
        }
        p.drawPath(wave);
    }
    QImage icon(dir + "/icons/kolt.png");
    p.drawImage(QRectF(34, 40, 96, 96), icon);
    QFont title("DejaVu Sans", 30, QFont::Bold);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QPointF(150, 86), "KOLT Quendal");
    QFont sub("DejaVu Sans", 13);
    p.setFont(sub);
    p.setPen(QColor(190, 215, 245));
    p.drawText(QPointF(152, 116), "Drive parameter engineering tool");
    p.drawText(QPointF(152, 138), "Version 1.2");
    QFont small("DejaVu Sans", 9);
    p.setFont(small);
    p.setPen(QColor(150, 175, 210));
    p.drawText(QRectF(0, 270, 506, 20), Qt::AlignRight, "Parameters  \u00b7  Link  \u00b7  Read  \u00b7  Write  \u00b7  Monitor");
    p.setPen(QPen(QColor(70, 120, 190), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(1, 1, -2, -2));
    p.end();
    img.save(dir + "/images/splash.png");
}

void DrawAboutPicture(const QString& dir) {
    QImage img(300, 70, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const char* names[] = {"S100", "D200", "T400"};
    for (int i = 0; i < 3; ++i) {
        const QRectF r(20 + i * 95, 6, 70, 58);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(232, 236, 242));
        g.setColorAt(1, QColor(190, 198, 210));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(g);
        p.drawRoundedRect(r, 6, 6);
        p.setBrush(QColor(25, 50, 35));
        p.drawRect(QRectF(r.left() + 8, r.top() + 8, r.width() - 16, 18));
        QFont f("DejaVu Sans Mono", 9, QFont::Bold);
        p.setFont(f);
        p.setPen(QColor(120, 240, 140));
        p.drawText(QRectF(r.left() + 8, r.top() + 8, r.width() - 16, 18), Qt::AlignCenter, names[i]);
        p.setPen(QPen(kInk, 1.2));
        for (int k = 0; k < 3; ++k) {
            p.setBrush(k == 0 ? kGreen : (k == 1 ? QColor(220, 60, 50) : QColor(245, 245, 245)));
            p.drawEllipse(QPointF(r.left() + 17 + k * 18, r.bottom() - 14), 5, 5);
        }
    }
    p.end();
    img.save(dir + "/images/about.png");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("res");
    DrawIcons(dir);
    DrawProgramIcon(dir);
    DrawSplash(dir);
    DrawAboutPicture(dir);
    return 0;
}
