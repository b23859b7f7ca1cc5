// The main frame's two menu layouts, accelerators, toolbar and command enabling.
#include "app/command_ids.h"
#include "frame_fixture.h"

#include <QToolBar>

namespace kolt::testing {
namespace {

TEST_F(FrameTest, MenusWithoutDocument) {
    EXPECT_EQ(frame->windowTitle(), "KOLT Quendal 1.2");
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Edit", "&Operation", "&View", "&Help"}));
    EXPECT_EQ(Entries(Menu("fileMenu")),
              (QStringList{"&New...\tCtrl+N", "&Open...\tCtrl+O", "Co&mpare", "Recent File", "E&xit"}));
    EXPECT_EQ(Entries(Menu("compareMenu")),
              (QStringList{"&Inverter with Default...", "&File with File...", "Files with &Default..."}));
    EXPECT_EQ(Entries(Menu("editMenu")),
              (QStringList{"&Find...\tCtrl+F", "&Go to...\tCtrl+G", "&Definite parameter..."}));
    EXPECT_EQ(Entries(Menu("operationMenu")),
              (QStringList{"&Link...", "&Read...\tCtrl+R", "&Monitor...", "Online &Edit"}));
    EXPECT_EQ(Entries(Menu("viewMenu")), (QStringList{"&Toolbar", "&Status Bar"}));
    EXPECT_EQ(Entries(Menu("helpMenu")), (QStringList{"&Contents\tF1", "&About KOLT Quendal..."}));
}

TEST_F(FrameTest, MenusWithDocumentAndBackAfterClose) {
    NewDocument();
    EXPECT_EQ(Entries(Menu("fileMenu")),
              (QStringList{"&New...\tCtrl+N", "&Open...\tCtrl+O", "&Close", "Co&mpare", "&Save\tCtrl+S",
                           "Save &As...", "Print &Title && Set...", "Print Pre&view", "&Print...\tCtrl+P",
                           "Recent File", "E&xit"}));
    EXPECT_EQ(Entries(Menu("editMenu")), (QStringList{"Station &Title...", "&Find...\tCtrl+F", "&Go to...\tCtrl+G",
                                                       "&Definite parameter..."}));
    EXPECT_EQ(Entries(Menu("operationMenu")),
              (QStringList{"&Link...", "&Read...\tCtrl+R", "&Write...\tCtrl+W", "&Monitor...", "Online &Edit"}));
    // The maximised document window leaves the frame's title alone.
    EXPECT_EQ(frame->windowTitle(), "KOLT Quendal 1.2");
    EXPECT_EQ(frame->DocumentWindow()->windowTitle(), "Untitled");

    frame->RunCommand(cmd::kFileClose);  // not modified: no question
    EXPECT_EQ(frame->Document(), nullptr);
    EXPECT_EQ(Entries(Menu("fileMenu")).size(), 5);
}

TEST_F(FrameTest, AcceleratorsAndPrompts) {
    const std::pair<int, const char*> keys[] = {
        {cmd::kFileNew, "Ctrl+N"},  {cmd::kFileOpen, "Ctrl+O"}, {cmd::kFileSave, "Ctrl+S"}, {cmd::kFilePrint, "Ctrl+P"},
        {cmd::kEditFind, "Ctrl+F"}, {cmd::kGoTo, "Ctrl+G"},     {cmd::kRead, "Ctrl+R"},     {cmd::kWrite, "Ctrl+W"},
        {cmd::kHelpContents, "F1"},
    };
    for (const auto& [id, key] : keys)
        EXPECT_EQ(frame->Action(id)->shortcut(), QKeySequence(QString::fromLatin1(key))) << id;
    EXPECT_TRUE(frame->Action(cmd::kLink)->shortcut().isEmpty());

    EXPECT_EQ(frame->Action(cmd::kLink)->statusTip(), "Link with inverter");
    EXPECT_EQ(frame->Action(cmd::kLink)->toolTip(), "Link");
    EXPECT_EQ(frame->Action(cmd::kOnlineEdit)->statusTip(), "Setting online edit");
    EXPECT_EQ(frame->Action(cmd::kHelpContents)->toolTip(), "Contents");
    EXPECT_EQ(frame->Action(cmd::kPrintTitleSet)->statusTip(), "Edit the print title informations");
    EXPECT_EQ(Pane(0), "Ready");
}

TEST_F(FrameTest, ToolbarLayout) {
    auto* bar = frame->findChild<QToolBar*>(QStringLiteral("toolbar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->windowTitle(), "Toolbar");
    QList<int> ids;
    for (QAction* a : bar->actions())
        ids << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(ids, (QList<int>{cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, 0, cmd::kFilePrint,
                               cmd::kFilePrintPreview, 0, cmd::kLink, cmd::kMonitor, cmd::kRead, cmd::kWrite, 0,
                               cmd::kHelpContents}));
    for (QAction* a : bar->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }

    frame->RunCommand(cmd::kViewToolbar);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(frame->Action(cmd::kViewToolbar)->isChecked());
    frame->RunCommand(cmd::kViewToolbar);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(frame->Action(cmd::kViewToolbar)->isChecked());
}

TEST_F(FrameTest, UnbuiltCommandsStayDisabled) {
    NewDocument();
    for (int id : {cmd::kFilePrint, cmd::kFilePrintPreview, cmd::kEditFind, cmd::kGoTo, cmd::kStationTitle,
                   cmd::kDefiniteParameter, cmd::kCompareFileFile})
        EXPECT_FALSE(Enabled(id)) << id;
    for (int id : {cmd::kFileNew, cmd::kFileOpen, cmd::kFileClose, cmd::kFileSave, cmd::kFileSaveAs, cmd::kAppExit,
                   cmd::kHelpContents, cmd::kAppAbout, cmd::kOnlineEdit})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(FrameTest, EnablingFollowsTheState) {
    int runs = 0;
    for (int id : {cmd::kLink, cmd::kRead, cmd::kWrite, cmd::kMonitor, cmd::kCompareInverterDefault, cmd::kPrintTitleSet,
                   cmd::kEditFind})
        frame->SetCommandHandler(id, [&runs] { ++runs; });

    // Nothing linked, no document.
    frame->UpdateCommandUi();
    EXPECT_TRUE(Enabled(cmd::kLink));
    EXPECT_FALSE(Enabled(cmd::kRead));
    EXPECT_FALSE(Enabled(cmd::kMonitor));
    EXPECT_FALSE(Enabled(cmd::kCompareInverterDefault));
    EXPECT_FALSE(Enabled(cmd::kEditFind));

    app.linkedFlag = 1;
    frame->UpdateCommandUi();
    EXPECT_TRUE(Enabled(cmd::kRead));
    EXPECT_TRUE(Enabled(cmd::kMonitor));
    EXPECT_TRUE(Enabled(cmd::kCompareInverterDefault));
    EXPECT_FALSE(Enabled(cmd::kWrite));  // no document

    // A busy modal command blocks Read; a scan blocks Link and the compare.
    app.busyFlag = 1;
    frame->UpdateCommandUi();
    EXPECT_FALSE(Enabled(cmd::kRead));
    app.busyFlag = 0;
    app.scanFlag = 1;
    frame->UpdateCommandUi();
    EXPECT_FALSE(Enabled(cmd::kLink));
    EXPECT_FALSE(Enabled(cmd::kCompareInverterDefault));
    app.scanFlag = 0;
    app.monitoringFlag = 1;
    frame->UpdateCommandUi();
    EXPECT_FALSE(Enabled(cmd::kCompareInverterDefault));
    app.monitoringFlag = 0;

    CMarbenDoc* doc = NewDocument();
    EXPECT_TRUE(Enabled(cmd::kWrite));
    EXPECT_TRUE(Enabled(cmd::kEditFind));
    doc->compareMode = 2;  // a compare document is never written to a drive
    frame->UpdateCommandUi();
    EXPECT_FALSE(Enabled(cmd::kWrite));

    frame->SetPrintPreview(true);
    EXPECT_FALSE(Enabled(cmd::kPrintTitleSet));
    frame->SetPrintPreview(false);

    // A disabled command does nothing even when asked for directly.
    app.linkedFlag = 0;
    frame->RunCommand(cmd::kRead);
    EXPECT_EQ(runs, 0);
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(runs, 1);
}

TEST_F(FrameTest, MenuShowRefreshesEnabling) {
    frame->SetCommandHandler(cmd::kRead, [] {});
    EXPECT_FALSE(Enabled(cmd::kRead));
    app.linkedFlag = 1;  // changed behind the frame's back
    emit Menu("operationMenu")->aboutToShow();
    EXPECT_TRUE(Enabled(cmd::kRead));
}


TEST_F(FrameTest, CtrlWBelongsToWriteNotToTheDocumentWindow) {
    NewDocument();
    for (QAction* a : frame->DocumentWindow()->systemMenu()->actions())
        EXPECT_FALSE(a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W))) << a->text().toStdString();
}

}  // namespace
}  // namespace kolt::testing
