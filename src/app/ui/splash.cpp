#include "app/ui/splash.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QScreen>
#include <QSplashScreen>
#include <QThread>

#include <ctime>

namespace kolt {

void ShowSplash(QWidget* over) {
    QSplashScreen splash(QPixmap(QStringLiteral(":/images/splash.png")));
    splash.setObjectName(QStringLiteral("splash"));
    if (over)
        splash.move(over->screen()->geometry().center() - splash.rect().center());
    const std::time_t start = std::time(nullptr);
    do {
        splash.show();
        splash.raise();
        splash.repaint();
        // Paint only: clicks and keys wait until the splash has gone.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(20);
    } while (std::time(nullptr) - start <= 1);
    splash.close();
}

}  // namespace kolt
