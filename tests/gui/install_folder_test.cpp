// An installed copy started by an ordinary user: the settings go to the user's
// own folder, the first file dialog starts at home, and Exit asks nothing.
#include "app/ui/startup.h"
#include "as_other_user.h"
#include "frame_fixture.h"

#include <QDir>
#include <QFile>
#include <QTimer>

namespace kolt::testing {
namespace {

QString ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// Root may write anywhere, so the program runs as nobody here: the folder of
// this test program (build/) is then one the user cannot write, as
// <prefix>/bin is for an installed copy.
TEST(InstalledCopyTest, SettingsLiveInTheUsersConfigFolder) {
    if (const std::string why = CannotRunAsOtherUser(); !why.empty()) GTEST_SKIP() << why;
    OtherUserFolders f;
    ASSERT_TRUE(f.ok);
    const std::string xdg = f.userHome + "/config";
    const OtherUserRun run = RunSelfAsNobody("InstalledCopyAsUser.DISABLED_*",
                                             {"HOME=" + f.userHome, "XDG_CONFIG_HOME=" + xdg,
                                              "QT_QPA_PLATFORM=offscreen", "PATH=/usr/bin:/bin"},
                                             f.root + "/output.txt");
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_NE(run.output.find("[  PASSED  ] 2 tests"), std::string::npos) << run.output;
    const QString text = ReadText(QString::fromStdString(xdg + "/kolt/koltinf.ini"));
    EXPECT_TRUE(text.startsWith("[KOLT]\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nOnLineEdit=1\r\n")) << text.toStdString();
}

class InstalledCopyAsUser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(::geteuid(), 0u);
        ASSERT_FALSE(qEnvironmentVariableIsSet("KOLT_HOME"));
        ASSERT_TRUE(recent.isValid());
    }
    std::unique_ptr<CMainFrame> Start() {
        StartupOptions options;
        options.splash = false;
        return InitInstance(app, prompts, store, ParameterViewFactory(app, prompts), options);
    }
    QTemporaryDir recent;
    QSettings store{recent.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat};
    CMarbenApp app;
    QtPrompts prompts{app};
};

TEST_F(InstalledCopyAsUser, DISABLED_StartChangeOnlineEditAndExit) {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    AnswerModelDialog(-1, -1, true);
    auto frame = Start();
    ASSERT_NE(frame, nullptr);
    // Created on first start.
    EXPECT_EQ(app.installDir, (xdg + "/kolt").toStdString());
    EXPECT_TRUE(QFileInfo(xdg + "/kolt").isDir());

    QString started;
    AnswerFileDialog(QString(), &started);
    frame->RunCommand(cmd::kFileOpen);
    EXPECT_EQ(started, QDir::homePath());

    frame->RunCommand(cmd::kOnlineEdit);
    ASSERT_EQ(app.settings.onlineEdit, 1);

    // Anything that asks during the close is noted and answered No.
    QStringList asked;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked << box->text();
            box->reject();
        }
    });
    watch.start(10);
    EXPECT_TRUE(frame->close());
    watch.stop();
    EXPECT_EQ(asked, QStringList());
    EXPECT_TRUE(ReadText(xdg + "/kolt/koltinf.ini").contains("\r\nOnLineEdit=1\r\n"));
}

TEST_F(InstalledCopyAsUser, DISABLED_UserFolderThatCannotBeCreated) {
    // XDG_CONFIG_HOME names a plain file, so no folder can be made below it.
    const QString plain = QDir::homePath() + "/plain";
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qputenv("XDG_CONFIG_HOME", plain.toLocal8Bit());
    QString text;
    AnswerMessageBox(QMessageBox::Ok, &text);
    EXPECT_EQ(Start(), nullptr);
    EXPECT_EQ(text.toStdString(), "Error: Not find system data!!\n\nPlease reinstall KOLT Quendal.\n\n"
                                  "The folder for the settings could not be created:\n" +
                                      (plain + "/kolt\nNot a directory").toStdString());
}

}  // namespace
}  // namespace kolt::testing
