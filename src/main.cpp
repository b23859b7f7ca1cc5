// KOLT Quendal: parameter sets, links and monitors for the drive family.
#include "app/display_check.h"
#include "base/marben_app.h"
#include "base/texts.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/startup.h"
#include "app/ui/view_factory.h"
#include "app/ui/link_commands.h"
#include "app/ui/bus_job_commands.h"
#include "app/ui/compare_commands.h"
#include "app/ui/view_commands.h"
#include "app/ui/print_commands.h"
#include "app/ui/monitor_commands.h"

#include <QApplication>
#include <QSettings>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    // Qt would end with a platform-plugin error that says nothing to an ssh user.
    if (!kolt::CanOpenWindows(Env("DISPLAY"), Env("WAYLAND_DISPLAY"), Env("QT_QPA_PLATFORM"),
                              std::vector<std::string>(argv + 1, argv + argc))) {
        std::fprintf(stderr, "%s\n", kolt::text::kNeedsDesktop);
        return 1;
    }
    QApplication qapp(argc, argv);
    Q_INIT_RESOURCE(kolt);  // the pictures live in a static library
    QCoreApplication::setOrganizationName(QStringLiteral("ZEMI"));
    QCoreApplication::setApplicationName(QStringLiteral("KOLT"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kolt"));

    kolt::CMarbenApp app;
    kolt::QtPrompts prompts(app);
    QSettings recentStore;  // per user, organisation "ZEMI"

    kolt::StartupOptions options;
    options.arguments = qapp.arguments().mid(1);
    // Declared before the frame so that it outlives it: it owns the port.
    kolt::CLinkCommands link(app, prompts);
    kolt::CPrintCommands print(app);
    auto frame = kolt::InitInstance(app, prompts, recentStore,
                                    link.WrapViewFactory(kolt::ParameterViewFactory(app, prompts)), options);
    if (!frame)
        return 1;
    link.Install(*frame);
    kolt::CCompareCommands compare(app, prompts, link);
    compare.Install(*frame);
    kolt::CBusJobCommands busJobs(app, prompts, link);
    busJobs.Install(*frame);
    kolt::CViewCommands viewCommands(app);
    viewCommands.Install(*frame);
    print.Install(*frame);
    kolt::CMonitorCommands monitor(app, link);
    monitor.Install(*frame);
    const int rc = qapp.exec();
    frame.reset();
    return rc;
}
