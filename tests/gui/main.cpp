// GUI tests run offscreen with one QApplication for the whole run.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                       : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(kolt);  // icons and pictures of the window program
    // Recent-file lists and other per-user settings stay out of the user's own.
    QCoreApplication::setOrganizationName(QStringLiteral("ZEMI"));
    QCoreApplication::setApplicationName(QStringLiteral("KOLT-tests"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
