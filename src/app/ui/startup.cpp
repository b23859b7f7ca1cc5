#include "app/ui/startup.h"

#include "base/settings.h"
#include "base/texts.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/splash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace kolt {

std::optional<QString> FindInstallDir(IPrompts& prompts) {
    QString dir = qEnvironmentVariable("KOLT_HOME");
    if (dir.isEmpty())
        dir = QCoreApplication::applicationDirPath();
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) {
        prompts.Message(text::kNoSystemData, text::kAppTitle, Icon::Error);
        return std::nullopt;
    }
    return QFileInfo(dir).absoluteFilePath();
}

std::unique_ptr<CMainFrame> InitInstance(CMarbenApp& app, QtPrompts& prompts, QSettings& recentStore,
                                         ViewFactory makeView, const StartupOptions& options) {
    const std::optional<QString> dir = FindInstallDir(prompts);
    if (!dir)
        return nullptr;
    // A relative file name means the folder the user started in, not ours.
    QString file;
    if (!options.arguments.isEmpty())
        file = QFileInfo(options.arguments.first()).absoluteFilePath();
    app.installDir = dir->toStdString();
    QDir::setCurrent(*dir);

    auto frame = std::make_unique<CMainFrame>(app, prompts, recentStore, std::move(makeView));
    prompts.SetParentWidget(frame.get());

    if (file.isEmpty()) {
        frame->FileNew();  // the model dialog comes before the main window
    } else if (!frame->OpenFile(file, false)) {
        prompts.SetParentWidget(nullptr);
        return nullptr;
    }
    // Without a window manager "maximised" means nothing, so the frame also
    // takes the screen's work area itself.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    if (options.splash)
        ShowSplash(frame.get());

    // Read after the first document: that one used the start values.
    ReadSettingsFile(app.SettingsPath(), app.settings);
    frame->UpdateCommandUi();
    return frame;
}

}  // namespace kolt
