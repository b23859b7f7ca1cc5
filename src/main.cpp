// KOLT Quendal: parameter sets, links and monitors for the drive family.
#include "base/marben_app.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/startup.h"
#include "app/ui/view_factory.h"
#include "app/ui/link_commands.h"
#include "app/ui/monitor_commands.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char** argv) {
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
    auto frame = kolt::InitInstance(app, prompts, recentStore,
                                    link.WrapViewFactory(kolt::ParameterViewFactory(app, prompts)), options);
    if (!frame)
        return 1;
    link.Install(*frame);
    kolt::CMonitorCommands monitor(app, link.Context());
    monitor.Install(*frame);
    const int rc = qapp.exec();
    frame.reset();
    return rc;
}
