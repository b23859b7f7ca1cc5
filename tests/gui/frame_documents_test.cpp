// Documents in windows: File New with the model dialog, Save, Save As, Open,
// recent files and the save question.
#include "frame_fixture.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <tuple>

namespace kolt::testing {
namespace {

const char* const kSaveQuestion = "The file has been modified!\nDo you want to save file?\n";

TEST(ModelTypeDialog, InfoFollowsTheList) {
    CModelType d(3, 1);
    auto* models = d.findChild<QComboBox*>(QStringLiteral("modelList"));
    ASSERT_EQ(models->count(), 11);
    models->setCurrentIndex(8);
    const QString info = d.findChild<QPlainTextEdit*>(QStringLiteral("modelInfo"))->toPlainText();
    EXPECT_TRUE(info.startsWith(" T400-0.75:\n") && info.contains("Three-phase 380~480V")) << info.toStdString();
}

TEST_F(FrameTest, FileNewUsesTheModelDialog) {
    std::tie(app.currentModel, app.settings.hz50) = std::tuple(11, 0);  // 11: outside the list, model 0
    QString shown;
    AnswerModelDialog(-1, -1, true, &shown);
    frame->FileNew();
    CMarbenDoc* first = frame->Document();
    ASSERT_NE(first, nullptr);
    // 60 Hz kept on OK.
    EXPECT_EQ(std::tuple(shown, first->model, first->hz50, first->values[0][7], app.busyFlag), std::tuple("0/1", 0, 0, 6000, 0));

    // The next File New is preset from the open document; Cancel keeps it.
    AnswerModelDialog(7, 0, false, &shown);
    frame->FileNew();
    EXPECT_EQ(std::tuple(shown, frame->Document()), std::tuple("0/1", first));

    // The save question follows the dialog; Cancel abandons the command.
    first->SetModifiedFlag(true);
    QString question, title;
    AnswerModelDialog(7, 0, true);
    QTimer::singleShot(0, [&] { AnswerMessageBox(QMessageBox::Cancel, &question, &title); });
    frame->FileNew();
    EXPECT_EQ(std::tuple(question, title, frame->Document()), std::tuple(kSaveQuestion, "KOLT Quendal 1.2", first));

    first->SetModifiedFlag(false);
    AnswerModelDialog(7, 0, true);
    frame->FileNew();
    ASSERT_NE(frame->Document(), first);
    EXPECT_EQ(std::tuple(frame->Document()->hz50, Pane(3)), std::tuple(1, "Model: D200-2.2"));
}

TEST_F(FrameTest, SaveSaveAsOpenAndRecentFiles) {
    app.currentModel = 9;
    CMarbenDoc* doc = NewDocument();
    doc->values[0][2] = 123;
    doc->SetModifiedFlag(true);
    const QString path = Path("first.kpf");
    AnswerFileDialog(Path("first"));  // no extension typed: the default suffix joins
    EXPECT_TRUE(frame->FileSave());   // untitled: Save runs Save As
    EXPECT_EQ(std::tuple(QFileInfo(path).size(), doc->IsModified(), frame->DocumentWindow()->windowTitle(),
                         frame->RecentFiles().Files().value(0)),
              std::tuple(1801, false, "first.kpf", path));

    doc->SetModifiedFlag(true);
    AnswerFileDialog(QString());  // Save As cancelled changes nothing
    EXPECT_TRUE(!frame->FileSaveAs() && doc->IsModified());
    doc->values[0][1] = 77;
    EXPECT_TRUE(frame->FileSave() && !doc->IsModified());  // titled: no dialog

    // Open starts where the save ended; the file's model becomes the application's.
    frame->CloseDocumentWindow();
    app.currentModel = 0;
    QString startFolder;
    AnswerFileDialog(path, &startFolder);
    frame->FileOpen();
    const CMarbenDoc& opened = *frame->Document();
    EXPECT_EQ(std::tuple(startFolder, opened.model, opened.values[0][1], opened.values[0][2], app.currentModel),
              std::tuple(QDir(dir.path()).absolutePath(), 9, 77, 123, 9));

    // An entry that no longer opens leaves the list.
    ASSERT_EQ(frame->RecentFiles().Files().size(), 1);
    frame->CloseDocumentWindow();
    ASSERT_TRUE(QFile::remove(path));
    AnswerMessageBox(QMessageBox::Ok);
    frame->RunCommand(cmd::kFileMru1);
    EXPECT_TRUE(frame->Document() == nullptr && frame->RecentFiles().Files().isEmpty());
}

TEST_F(FrameTest, SaveQuestionOnClose) {
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(true);
    QString question;
    AnswerMessageBox(QMessageBox::Cancel, &question);
    frame->DocumentWindow()->close();  // the window's own close box
    ASSERT_EQ(std::pair(question, frame->Document()), std::pair(QString(kSaveQuestion), doc));

    AnswerMessageBox(QMessageBox::Yes);  // Yes saves through Save As first
    QTimer::singleShot(0, [this] { AnswerFileDialog(Path("kept.kpf")); });
    frame->RunCommand(cmd::kFileClose);
    EXPECT_TRUE(frame->Document() == nullptr && QFileInfo::exists(Path("kept.kpf")));
    NewDocument()->SetModifiedFlag(true);
    AnswerMessageBox(QMessageBox::No);
    frame->RunCommand(cmd::kFileClose);
    EXPECT_EQ(frame->Document(), nullptr);

    // A value still in the grid's editor reaches the document before the question.
    doc = NewDocument();
    CParamGrid* grid = qobject_cast<CMarbenView*>(frame->View())->Grid();
    ASSERT_TRUE(grid->EditCell(8, 4, EditStart::Key, QLatin1Char('6')));  // F07
    question.clear();
    AnswerMessageBox(QMessageBox::Cancel, &question);
    frame->RunCommand(cmd::kFileClose);
    EXPECT_EQ(std::tuple(question, doc->values[0][7], frame->Document()), std::tuple(QString(kSaveQuestion), 600, doc));
}

}  // namespace
}  // namespace kolt::testing
