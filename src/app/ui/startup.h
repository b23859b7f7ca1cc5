// Start-up: the installation directory, the main frame, the command line,
// the splash and the settings file.
#pragma once

#include "app/ui/main_frame.h"
#include "base/install_dir.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace kolt {

class IPrompts;
class QtPrompts;

// The installation folder as ResolveInstallDir decides it for this process,
// the per-user folder created on first start. When it cannot be used, message
// 2000 (for a per-user folder followed by the folder and the reason) and nothing.
std::optional<InstallDirChoice> FindInstallDir(IPrompts& prompts);

struct StartupOptions {
    QStringList arguments;  // the command line less the program name
    bool splash = true;
};

// The whole start-up. Null when the program must end (no installation folder,
// or a file named on the command line that does not open).
std::unique_ptr<CMainFrame> InitInstance(CMarbenApp& app, QtPrompts& prompts, QSettings& recentStore,
                                         ViewFactory makeView, const StartupOptions& options);

}  // namespace kolt
