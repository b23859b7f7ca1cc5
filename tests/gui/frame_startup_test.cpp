// Start-up and closing: the installation folder, the command line, the
// settings file read after the first document and written at close.
#include "base/settings.h"
#include "app/ui/startup.h"
#include "document/doc_file.h"
#include "frame_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kolt::testing {
namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        oldCwd = QDir::currentPath();
        qputenv("KOLT_HOME", home.path().toLocal8Bit());
        store = std::make_unique<QSettings>(home.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    }
    void TearDown() override {
        qunsetenv("KOLT_HOME");
        QDir::setCurrent(oldCwd);
    }
    // Starts the program; without a file on the command line the test answers the model dialog first.
    std::unique_ptr<CMainFrame> Start(CMarbenApp& app, QtPrompts& prompts, QStringList args = {}) {
        StartupOptions options;
        options.arguments = args;
        options.splash = false;
        return InitInstance(app, prompts, *store, ParameterViewFactory(app, prompts), options);
    }
    QString SettingsPath() const { return home.filePath(QStringLiteral("koltinf.ini")); }
    QString SettingsText() const {
        QFile f(SettingsPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    QTemporaryDir home;
    QString oldCwd;
    std::unique_ptr<QSettings> store;
    CMarbenApp app;
    QtPrompts prompts{app};
};

TEST_F(StartupTest, SettingsAreReadAfterTheFirstDocumentAndWrittenAtClose) {
    KoltSettings stored;
    stored.hz50 = 0;
    stored.baudRate = 9600;
    ASSERT_TRUE(WriteSettingsFile(SettingsPath().toStdString(), stored));
    QString shown;
    AnswerModelDialog(-1, -1, true, &shown);
    auto frame = Start(app, prompts);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(QDir::currentPath(), QDir(home.path()).absolutePath());  // the installation folder
    EXPECT_EQ(shown, "0/0");  // the first document used the start value, 50 Hz
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->hz50, 1);
    EXPECT_EQ(app.settings.hz50, 0);  // read afterwards
    EXPECT_EQ(app.settings.baudRate, 9600);

    app.settings.comPort = 3;
    app.settings.onlineEdit = 1;
    app.settings.definiteCount = 2;
    app.settings.definiteKinds = {1, 2};
    app.settings.definiteNumbers = {7, 25};
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(SettingsText().contains("ComPort=3\r\n"));
    EXPECT_TRUE(SettingsText().endsWith("[Definite Parameter]\r\n2\r\n1\r\n07\r\n2\r\n25\r\n"));
    frame.reset();

    CMarbenApp next;
    QtPrompts nextPrompts(next);
    AnswerModelDialog(-1, -1, true);
    auto again = Start(next, nextPrompts);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(next.settings.comPort, 3);
    EXPECT_EQ(next.settings.definiteCount, 2);
    EXPECT_EQ(again->StatusPane(4)->text(), "Online Edit");
}

TEST_F(StartupTest, CloseIsRefusedDuringAScanOrWhenSavingFails) {
    AnswerModelDialog(-1, -1, true);
    auto frame = Start(app, prompts);
    ASSERT_NE(frame, nullptr);
    app.scanFlag = 1;
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    app.scanFlag = 0;

    frame->Document()->SetModifiedFlag(true);
    AnswerMessageBox(QMessageBox::Cancel);  // the save question
    EXPECT_FALSE(frame->close());
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_TRUE(SettingsText().isEmpty());

    // A settings file that cannot be written asks before the settings are lost.
    frame->Document()->SetModifiedFlag(false);
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("koltinf.ini")));  // a folder where the file should be
    QString text, title;
    AnswerMessageBox(QMessageBox::No, &text, &title);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    // It names the file and the system's reason, as a failed save does.
    EXPECT_EQ(text, "The settings file could not be written:\n" + SettingsPath() + ": Is a directory\n\n" +
                        "Close without saving the settings?");
    EXPECT_EQ(title, "KOLT Quendal 1.2");

    // A folder that stays read-only must not hold the user forever; a monitor window does not either.
    app.monitoringFlag = 1;
    AnswerMessageBox(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
}

TEST_F(StartupTest, FileOnTheCommandLineOrAMissingFolder) {
    QTemporaryDir work;
    app.currentModel = 4;
    CMarbenDoc written(app);
    written.OnNewDocument();
    ASSERT_TRUE(WriteDocFile(written, work.filePath(QStringLiteral("drive.dat")).toStdString(), prompts));
    app.currentModel = 0;
    QDir::setCurrent(work.path());  // a relative name means the folder the user is in
    auto frame = Start(app, prompts, {QStringLiteral("drive.dat")});  // no extension test here
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->model, 4);
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "drive.dat");
    EXPECT_EQ(frame->RecentFiles().Files().value(0), work.filePath(QStringLiteral("drive.dat")));
    frame.reset();

    // A file that does not open ends the start-up, with the reader's message.
    QFile broken(work.filePath(QStringLiteral("broken.kpf")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("garbage\nParameter\n") > 0);
    broken.close();
    QString text, title;
    AnswerMessageBox(QMessageBox::Ok, &text, &title);
    EXPECT_EQ(Start(app, prompts, {broken.fileName()}), nullptr);
    EXPECT_EQ(title, "Open");  // the reader's texts are pinned by the document file tests

    // So does a missing installation folder, before anything else.
    qputenv("KOLT_HOME", home.filePath(QStringLiteral("not-there")).toLocal8Bit());
    AnswerMessageBox(QMessageBox::Ok, &text, &title);
    EXPECT_EQ(Start(app, prompts, {broken.fileName()}), nullptr);
    EXPECT_EQ(text, "Error: Not find system data!!\n\nPlease reinstall KOLT Quendal.\n");
    EXPECT_EQ(title, "KOLT Quendal 1.2");
}

}  // namespace
}  // namespace kolt::testing
