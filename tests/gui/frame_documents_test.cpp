// Documents in windows: File New with the model dialog, Save, Save As, Open,
// recent files and the save question.
#include "app/command_ids.h"
#include "catalogue/ui/model_type_dialog.h"
#include "frame_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace kolt::testing {
namespace {

const char* const kSaveQuestion = "The file has been modified!\nDo you want to save file?\n";

// Answers the next model dialog: picks model and frequency index (-1 keeps them) and presses OK or Cancel.
void AnswerModelDialog(int model, int frequency, bool ok, int* shownModel = nullptr, int* shownFrequency = nullptr) {
    WhenModal<CModelType>([=](CModelType* d) {
        auto* models = d->findChild<QComboBox*>(QStringLiteral("modelList"));
        auto* freqs = d->findChild<QComboBox*>(QStringLiteral("frequencyList"));
        if (shownModel)
            *shownModel = models->currentIndex();
        if (shownFrequency)
            *shownFrequency = freqs->currentIndex();
        if (model >= 0)
            models->setCurrentIndex(model);
        if (frequency >= 0)
            freqs->setCurrentIndex(frequency);
        if (ok)
            d->accept();
        else
            d->reject();
    });
}

TEST(ModelTypeDialog, PresetsAndResults) {
    {
        CModelType d(11, 1);  // outside 0..10: model 0
        EXPECT_EQ(d.windowTitle(), "Model Select");
        auto* models = d.findChild<QComboBox*>(QStringLiteral("modelList"));
        ASSERT_EQ(models->count(), 11);
        EXPECT_EQ(models->currentIndex(), 0);
        EXPECT_EQ(models->itemText(10), "T400-2.2");
        auto* info = d.findChild<QPlainTextEdit*>(QStringLiteral("modelInfo"));
        EXPECT_TRUE(info->isReadOnly());
        EXPECT_TRUE(info->toPlainText().startsWith(" S100-0.2:\n"));
        models->setCurrentIndex(8);  // the info follows the list at once
        EXPECT_TRUE(info->toPlainText().startsWith(" T400-0.75:\n"));
        EXPECT_TRUE(info->toPlainText().contains("Three-phase 380~480V"));
        d.accept();
        EXPECT_EQ(d.ModelIndex(), 8);
        EXPECT_EQ(d.Hz50(), 1);
    }
    {
        CModelType d(5, 0);  // 60 Hz preset, kept by OK
        auto* freqs = d.findChild<QComboBox*>(QStringLiteral("frequencyList"));
        EXPECT_EQ(freqs->currentIndex(), 1);
        EXPECT_EQ(freqs->itemText(0), "50 Hz");
        EXPECT_EQ(freqs->itemText(1), "60 Hz");
        d.accept();
        EXPECT_EQ(d.ModelIndex(), 5);
        EXPECT_EQ(d.Hz50(), 0);
    }
    {
        CModelType d(-3, 0);  // Cancel leaves the presets
        d.findChild<QComboBox*>(QStringLiteral("modelList"))->setCurrentIndex(4);
        d.reject();
        EXPECT_EQ(d.ModelIndex(), -3);
        EXPECT_EQ(d.Hz50(), 0);
    }
}

TEST_F(FrameTest, FileNewUsesTheModelDialog) {
    app.currentModel = 11;
    app.settings.hz50 = 0;
    int shownModel = -1, shownFreq = -1;
    AnswerModelDialog(-1, -1, true, &shownModel, &shownFreq);
    frame->FileNew();
    EXPECT_EQ(shownModel, 0);
    EXPECT_EQ(shownFreq, 1);
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->model, 0);
    EXPECT_EQ(frame->Document()->hz50, 0);  // 60 Hz kept on OK
    EXPECT_EQ(app.settings.hz50, 0);
    EXPECT_EQ(frame->Document()->values[0][7], 6000);  // F07 at 60 Hz
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "Untitled");
    EXPECT_EQ(app.busyFlag, 0);

    // The next File New is preset from the open document; Cancel keeps it.
    CMarbenDoc* first = frame->Document();
    AnswerModelDialog(7, 0, false, &shownModel, &shownFreq);
    frame->FileNew();
    EXPECT_EQ(shownModel, 0);
    EXPECT_EQ(shownFreq, 1);
    EXPECT_EQ(frame->Document(), first);

    AnswerModelDialog(7, 0, true);
    frame->FileNew();  // not modified: no question
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_NE(frame->Document(), first);
    EXPECT_EQ(frame->Document()->model, 7);
    EXPECT_EQ(frame->Document()->hz50, 1);
    EXPECT_EQ(Pane(3), "Model: D200-2.2");
}

TEST_F(FrameTest, FileNewAsksToSaveOnlyAfterTheDialog) {
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(true);
    QString question, title;
    AnswerModelDialog(3, 0, true);
    // The save question follows the model dialog; Cancel abandons the command.
    QTimer::singleShot(0, [&] { AnswerMessageBox(QMessageBox::Cancel, &question, &title); });
    frame->FileNew();
    EXPECT_EQ(question, kSaveQuestion);
    EXPECT_EQ(title, "KOLT Quendal 1.2");
    EXPECT_EQ(frame->Document(), doc);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(FrameTest, SaveRunsSaveAsWhileUntitledAndFeedsTheRecentList) {
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(true);
    const QString path = Path("first.kpf");
    AnswerFileDialog(Path("first"));  // no extension typed: the default suffix joins
    EXPECT_TRUE(frame->FileSave());
    EXPECT_EQ(QFileInfo(path).size(), 1801);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->untitled, 0);
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "first.kpf");
    ASSERT_FALSE(frame->RecentFiles().Files().isEmpty());
    EXPECT_EQ(frame->RecentFiles().Files().first(), path);

    // Save As with Cancel changes nothing.
    doc->SetModifiedFlag(true);
    AnswerFileDialog(QString());
    EXPECT_FALSE(frame->FileSaveAs());
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "first.kpf");

    // Save of a titled document writes without asking.
    doc->values[0][1] = 77;
    EXPECT_TRUE(frame->FileSave());
    EXPECT_FALSE(doc->IsModified());

    // The recent list lives in the store and comes back with a new frame.
    frame.reset();
    frame = std::make_unique<CMainFrame>(app, prompts, *store, ViewFactory{});
    ASSERT_EQ(frame->RecentFiles().Files().size(), 1);
    frame->OpenRecentFile(0);
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->values[0][1], 77);
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "first.kpf");
}

TEST_F(FrameTest, SaveQuestionOnCloseWindow) {
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(true);
    QString question;
    AnswerMessageBox(QMessageBox::Cancel, &question);
    frame->DocumentWindow()->close();  // the window's own close box
    EXPECT_EQ(question, kSaveQuestion);
    ASSERT_EQ(frame->Document(), doc);

    AnswerMessageBox(QMessageBox::No);
    frame->RunCommand(cmd::kFileClose);
    EXPECT_EQ(frame->Document(), nullptr);
    EXPECT_EQ(Entries(Menu("fileMenu")).size(), 5);  // back to the short menus
}

TEST_F(FrameTest, SaveQuestionYesSavesBeforeClosing) {
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(true);
    AnswerMessageBox(QMessageBox::Yes);
    QTimer::singleShot(0, [this] { AnswerFileDialog(Path("kept.kpf")); });
    frame->RunCommand(cmd::kFileClose);
    EXPECT_EQ(frame->Document(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(Path("kept.kpf"))) << QDir(dir.path()).entryList().join(",").toStdString();
}

TEST_F(FrameTest, FileOpenChecksTheExtension) {
    {
        QFile f(Path("notes.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("KOLT Ver:1.2.080324\n");
    }
    NewDocument();
    QString text, title;
    AnswerFileDialog(Path("notes.txt"));
    QTimer::singleShot(0, [&] { AnswerMessageBox(QMessageBox::Ok, &text, &title); });
    frame->FileOpen();
    EXPECT_EQ(text, "Error: Open file failure!\n\nThe file format is not correctly!\n");
    EXPECT_EQ(title, "KOLT Quendal 1.2");
    EXPECT_EQ(frame->Document(), nullptr);  // the previous one is closed already
}

TEST_F(FrameTest, FileOpenReadsAParameterFile) {
    app.currentModel = 9;
    CMarbenDoc* doc = NewDocument();
    doc->values[0][2] = 123;
    AnswerFileDialog(Path("saved.kpf"));
    ASSERT_TRUE(frame->FileSaveAs());
    frame->CloseDocumentWindow();
    app.currentModel = 0;

    QString startFolder;
    WhenModal<QFileDialog>([&](QFileDialog* d) {
        startFolder = d->directory().absolutePath();  // where the save ended
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Path("saved.kpf"));
        static_cast<QDialog*>(d)->accept();
    });
    frame->FileOpen();
    EXPECT_EQ(startFolder, QDir(dir.path()).absolutePath());
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->model, 9);
    EXPECT_EQ(frame->Document()->values[0][2], 123);
    EXPECT_EQ(app.currentModel, 9);  // the file's model becomes the application's
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "saved.kpf");
}

TEST_F(FrameTest, BrokenFileFromTheCommandLineShowsTheReadersMessage) {
    {
        QFile f(Path("broken.kpf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("garbage\nParameter\n");
    }
    QString text, title;
    AnswerMessageBox(QMessageBox::Ok, &text, &title);
    EXPECT_FALSE(frame->OpenFile(Path("broken.kpf"), false));
    EXPECT_EQ(text, "Error: Open file failure!\n\nThe file format is not correctly!\n");
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(frame->Document(), nullptr);
}

TEST_F(FrameTest, RecentEntryThatNoLongerOpensLeavesTheList) {
    NewDocument();
    AnswerFileDialog(Path("gone.kpf"));
    ASSERT_TRUE(frame->FileSaveAs());
    frame->CloseDocumentWindow();
    ASSERT_TRUE(QFile::remove(Path("gone.kpf")));
    AnswerMessageBox(QMessageBox::Ok);
    frame->RunCommand(cmd::kFileMru1);
    EXPECT_EQ(frame->Document(), nullptr);
    EXPECT_TRUE(frame->RecentFiles().Files().isEmpty());
}

}  // namespace
}  // namespace kolt::testing
