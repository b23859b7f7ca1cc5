#include "app/ui/startup.h"

#include "base/settings.h"
#include "base/texts.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/splash.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace kolt {

std::optional<InstallDirChoice> FindInstallDir(IPrompts& prompts) {
    const InstallDirResult found = ResolveInstallDir(CurrentInstallDirInputs(), true);
    if (!found.ok) {
        std::string message = text::kNoSystemData;
        if (!found.problem.empty())
            message += "\n" + found.problem;
        prompts.Message(message, text::kAppTitle, Icon::Error);
        return std::nullopt;
    }
    return found.choice;
}

std::unique_ptr<CMainFrame> InitInstance(CMarbenApp& app, QtPrompts& prompts, QSettings& recentStore,
                                         ViewFactory makeView, const StartupOptions& options) {
    const std::optional<InstallDirChoice> install = FindInstallDir(prompts);
    if (!install)
        return nullptr;
    const QString dir = QString::fromStdString(install->dir);
    // A relative file name means the folder the user started in, not ours.
    QString file;
    if (!options.arguments.isEmpty())
        file = QFileInfo(options.arguments.first()).absoluteFilePath();
    app.installDir = install->dir;
    QDir::setCurrent(dir);
    // An installed copy keeps only its settings in that folder: the user's
    // files are elsewhere, so the first file dialog starts at home.
    if (install->source == InstallDirSource::UserFolder)
        prompts.SetLastFolder(QDir::homePath());

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
