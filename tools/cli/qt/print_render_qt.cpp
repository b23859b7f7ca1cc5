// kolt-cli print with Qt: the window program's painter on the offscreen
// platform, so no display is needed.
#include "print_render.h"

#include "view/ui/print_painter.h"

#include <QByteArray>
#include <QGuiApplication>

#include <memory>

namespace kolt::cli {

namespace {

QtMessageHandler previousHandler = nullptr;

// Qt's note that a root shell has no runtime folder says nothing about the PDF.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

bool CanRenderPdf() { return true; }

bool RenderPdf(const PrintJob& job, const std::string& path, bool landscape) {
    // Fonts and painting need an application object; a script has no display.
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    static int argc = 1;
    static char name[] = "kolt-cli";
    static char* argv[] = {name, nullptr};
    previousHandler = qInstallMessageHandler(QuietMessages);
    std::unique_ptr<QGuiApplication> app;
    if (!QGuiApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
    return WritePrintPdf(job, QString::fromStdString(path), landscape);
}

}  // namespace kolt::cli
