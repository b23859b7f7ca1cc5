// Start-up and closing: the installation folder, the command line, the
// settings file read after the first document and written at close.
#include "app/settings.h"
#include "app/ui/startup.h"
#include "catalogue/ui/model_type_dialog.h"
#include "document/doc_file.h"
#include "frame_fixture.h"

#include <QComboBox>
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
    std::unique_ptr<CMainFrame> Start(CMarbenApp& app, QtPrompts& prompts, QStringList args = {}) {
        StartupOptions options;
        options.arguments = args;
        options.splash = false;
        return InitInstance(app, prompts, *store, ParameterViewFactory(app, prompts), options);
    }
    QString SettingsText() const {
        QFile f(home.filePath(QStringLiteral("koltinf.ini")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    QTemporaryDir home;
    QString oldCwd;
    std::unique_ptr<QSettings> store;
};

// Presses OK in the model dialog, keeping what it shows in *hz.
void AcceptModelDialog(int* frequencyShown = nullptr) {
    WhenModal<CModelType>([frequencyShown](CModelType* d) {
        if (frequencyShown)
            *frequencyShown = d->findChild<QComboBox*>(QStringLiteral("frequencyList"))->currentIndex();
        d->accept();
    });
}

TEST_F(StartupTest, MissingInstallationFolderEndsTheProgram) {
    qputenv("KOLT_HOME", home.filePath(QStringLiteral("not-there")).toLocal8Bit());
    CMarbenApp app;
    QtPrompts prompts(app);
    QString text, title;
    AnswerMessageBox(QMessageBox::Ok, &text, &title);
    EXPECT_EQ(Start(app, prompts), nullptr);
    EXPECT_EQ(text, "Error: Not find system data!!\n\nPlease reinstall KOLT Quendal.\n");
    EXPECT_EQ(title, "KOLT Quendal 1.2");
}

TEST_F(StartupTest, SettingsAreReadAfterTheFirstDocumentAndWrittenAtClose) {
    {
        KoltSettings s;
        s.hz50 = 0;
        s.baudRate = 9600;
        ASSERT_TRUE(WriteSettingsFile(home.filePath(QStringLiteral("koltinf.ini")).toStdString(), s));
    }
    CMarbenApp app;
    QtPrompts prompts(app);
    int frequencyShown = -1;
    AcceptModelDialog(&frequencyShown);
    auto frame = Start(app, prompts);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(app.installDir, QDir(home.path()).absolutePath().toStdString());
    EXPECT_EQ(QDir::currentPath(), QDir(home.path()).absolutePath());
    EXPECT_EQ(frequencyShown, 0);  // the first document used the start value, 50 Hz
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->hz50, 1);
    EXPECT_EQ(app.settings.hz50, 0);  // read afterwards
    EXPECT_EQ(app.settings.baudRate, 9600);
    EXPECT_TRUE(frame->isVisible());

    app.settings.comPort = 3;
    app.settings.onlineEdit = 1;
    app.settings.definiteCount = 2;
    app.settings.definiteKinds[0] = 1;
    app.settings.definiteNumbers[0] = 7;
    app.settings.definiteKinds[1] = 2;
    app.settings.definiteNumbers[1] = 25;
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(SettingsText().contains("ComPort=3\r\n"));
    EXPECT_TRUE(SettingsText().endsWith("[Definite Parameter]\r\n2\r\n1\r\n07\r\n2\r\n25\r\n"));
    frame.reset();

    CMarbenApp next;
    QtPrompts nextPrompts(next);
    AcceptModelDialog();
    auto again = Start(next, nextPrompts);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(next.settings.comPort, 3);
    EXPECT_EQ(next.settings.onlineEdit, 1);
    EXPECT_EQ(next.settings.definiteCount, 2);
    EXPECT_EQ(again->StatusPane(4)->text(), "Online Edit");
}

TEST_F(StartupTest, CloseIsRefusedDuringAScanAndWhenTheSaveIsCancelled) {
    CMarbenApp app;
    QtPrompts prompts(app);
    AcceptModelDialog();
    auto frame = Start(app, prompts);
    ASSERT_NE(frame, nullptr);

    app.scanFlag = 1;
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(SettingsText().isEmpty());
    app.scanFlag = 0;

    frame->Document()->SetModifiedFlag(true);
    AnswerMessageBox(QMessageBox::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(SettingsText().isEmpty());
    ASSERT_NE(frame->Document(), nullptr);

    // A monitor window open does not hold the close.
    app.monitoringFlag = 1;
    AnswerMessageBox(QMessageBox::No);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(SettingsText().startsWith("[KOLT]\r\n"));
}

TEST_F(StartupTest, UnwritableSettingsFileAsksBeforeClosing) {
    CMarbenApp app;
    QtPrompts prompts(app);
    AcceptModelDialog();
    auto frame = Start(app, prompts);
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("koltinf.ini")));  // a folder where the file should be
    QString text, title;
    AnswerMessageBox(QMessageBox::No, &text, &title);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(text.startsWith("The settings file could not be written:\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(home.filePath(QStringLiteral("koltinf.ini"))));
    EXPECT_TRUE(text.endsWith("Close without saving the settings?"));
    EXPECT_EQ(title, "KOLT Quendal 1.2");

    // A folder that stays read-only must not hold the user forever.
    AnswerMessageBox(QMessageBox::Yes);
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(QFileInfo(home.filePath(QStringLiteral("koltinf.ini"))).isDir());
}

TEST_F(StartupTest, FileOnTheCommandLineOpensWithoutTheDialog) {
    QTemporaryDir work;
    {
        CMarbenApp app;
        app.currentModel = 4;
        CMarbenDoc doc(app);
        doc.OnNewDocument();
        QtPrompts prompts(app);
        ASSERT_TRUE(WriteDocFile(doc, work.filePath(QStringLiteral("drive.dat")).toStdString(), prompts));
    }
    QDir::setCurrent(work.path());  // a relative name means the folder the user is in
    CMarbenApp app;
    QtPrompts prompts(app);
    auto frame = Start(app, prompts, {QStringLiteral("drive.dat")});  // no extension test here
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->model, 4);
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "drive.dat");
    EXPECT_EQ(frame->RecentFiles().Files().first(), work.filePath(QStringLiteral("drive.dat")));
}

TEST_F(StartupTest, FileThatDoesNotOpenEndsStartUp) {
    CMarbenApp app;
    QtPrompts prompts(app);
    QString text;
    AnswerMessageBox(QMessageBox::Ok, &text);
    EXPECT_EQ(Start(app, prompts, {home.filePath(QStringLiteral("missing.kpf"))}), nullptr);
    EXPECT_FALSE(text.isEmpty());
}

}  // namespace
}  // namespace kolt::testing
