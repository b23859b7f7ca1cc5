// Start-up: the installation directory, the main frame, the command line,
// the splash and the settings file.
#pragma once

#include "app/ui/main_frame.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;

namespace kolt {

class IPrompts;
class QtPrompts;

// $KOLT_HOME when set, else the program's own folder; without a trailing '/'.
// When the folder does not exist, message 2000 and nothing.
std::optional<QString> FindInstallDir(IPrompts& prompts);

struct StartupOptions {
    QStringList arguments;  // the command line less the program name
    bool splash = true;
};

// The whole start-up. Null when the program must end (no installation folder,
// or a file named on the command line that does not open).
std::unique_ptr<CMainFrame> InitInstance(CMarbenApp& app, QtPrompts& prompts, QSettings& recentStore,
                                         ViewFactory makeView, const StartupOptions& options);

}  // namespace kolt
