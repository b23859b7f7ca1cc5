// The Edit menu's commands through the main window: Find and Go to on the
// grid, Station Title, and the definite-parameter dialogs, offline and with an
// online write to the virtual drive.
#include "app/ui/view_commands.h"
#include "drive_frame_fixture.h"
#include "grid/ui/in_place_edit.h"
#include "view/ui/add_remove_dialog.h"
#include "view/ui/def_para_dialog.h"
#include "view/ui/find_goto_dialog.h"
#include "view/ui/station_title_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

namespace kolt::testing {
namespace {

constexpr int kF01 = 1, kF05 = 5, kF07 = 7, kC11 = 111;

class ViewCommandsTest : public DriveFrameTest {
protected:
    CViewCommands commands{app};

    // The frame as the program builds it; with `stations`, a virtual drive on COM1 too.
    void Start(std::vector<int> stations = {}) {
        if (!stations.empty()) {
            StartDrive(std::move(stations));
            MakeLinkedFrame();
        } else {
            MakeFrame(FakeViews());
        }
        commands.Install(*frame);
        frame->resize(1200, 700);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    CMarbenDoc* OpenNew() {
        PrepareFileNew(app, 5, true);
        return frame->ShowDocument(CreateNewDocument(app));
    }
    CParamGrid& Grid() { return *View()->Grid(); }
    CFindGotoDialog* Dialog() { return View()->FindGotoDialog(); }
    template <class W>
    W* In(QWidget* parent, const char* name) {
        W* w = parent->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Presses a button of the find dialog; the request runs from the event loop.
    void Press(const char* button) {
        In<QPushButton>(Dialog(), button)->click();
        QApplication::processEvents();
    }
    int FocusRow() { return Grid().GetFocusCell().row; }
    QString FocusCode() { return Grid().GetItemText(FocusRow(), 1); }
    int TopRow() { return Grid().rowAt(0) + 1; }  // the first data row shown under the header
};

TEST_F(ViewCommandsTest, FindStepsThroughDescriptionsWithoutWrapping) {
    Start();
    OpenNew();
    frame->RunCommand(cmd::kEditFind);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Dialog()->windowTitle(), "Find and Go to");
    EXPECT_EQ(In<QGroupBox>(Dialog(), "radioGroup")->title(), "Direction:");
    EXPECT_EQ(In<QRadioButton>(Dialog(), "radio1")->text() + "/" + In<QRadioButton>(Dialog(), "radio2")->text(),
              "Up/Down");
    EXPECT_TRUE(In<QRadioButton>(Dialog(), "radio2")->isChecked());
    EXPECT_FALSE(In<QComboBox>(Dialog(), "codeList")->isVisibleTo(Dialog()));

    Press("findNextButton");  // an empty text does nothing
    EXPECT_EQ(Messages(), "");
    QTest::keyClicks(In<QLineEdit>(Dialog(), "findText"), "acceleration TIME");
    Grid().setCurrentIndex({});  // no focus cell: the search starts at the top
    Press("findNextButton");
    EXPECT_EQ(FocusCode(), "F01");
    EXPECT_EQ(Grid().GetFocusCell().col, 4);
    EXPECT_EQ(Grid().selectionModel()->selectedIndexes().size(), 5);
    Press("findNextButton");
    EXPECT_EQ(FocusCode(), "C11");  // "Acceleration time 2 (s)"
    EXPECT_EQ(Messages(), "");
    Grid().SetFocusCell(Grid().GetRowCount() - 1, 4);  // the last row: nothing below, no wrap
    Press("findNextButton");
    EXPECT_EQ(Messages(), "message|Find|Search text\n 'acceleration TIME' not found!\n");
    EXPECT_EQ(FocusCode(), "C55");
    EXPECT_EQ(app.busyFlag, 0);

    In<QRadioButton>(Dialog(), "radio1")->click();  // Up
    fake.shown.clear();
    Press("findNextButton");
    EXPECT_EQ(FocusCode(), "C11");

    // Cancel hides the dialog; the next Find shows it again with its fields.
    CFindGotoDialog* first = Dialog();
    Press("cancelButton");
    EXPECT_FALSE(first->isVisible());
    frame->RunCommand(cmd::kEditFind);
    EXPECT_EQ(Dialog(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(In<QLineEdit>(first, "findText")->text(), "acceleration TIME");
    EXPECT_TRUE(In<QRadioButton>(first, "radio1")->isChecked());
    EXPECT_EQ(first->State().direction, kFindUp);
}

TEST_F(ViewCommandsTest, GoToPutsTheCodeUnderTheHeaderAndTypingFollowsThePrefixRule) {
    Start();
    OpenNew();
    frame->RunCommand(cmd::kGoTo);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(In<QGroupBox>(Dialog(), "radioGroup")->title(), "Code type:");
    EXPECT_EQ(In<QRadioButton>(Dialog(), "radio1")->text() + "/" + In<QRadioButton>(Dialog(), "radio2")->text(),
              "Fxx/Cxx");
    EXPECT_FALSE(In<QLineEdit>(Dialog(), "findText")->isVisibleTo(Dialog()));
    auto* codes = In<QComboBox>(Dialog(), "codeList");
    EXPECT_EQ(codes->count(), 55);

    QTest::keyClicks(codes->lineEdit(), "5");
    EXPECT_EQ(Dialog()->State().codeIndex, 5);
    EXPECT_EQ(codes->currentIndex(), 5);
    Press("goToButton");
    EXPECT_EQ(FocusCode(), "F05");
    EXPECT_EQ(TopRow(), SlotOfNumber(kF05) + 1);


    // Cxx refills the list and selects C00; C11 is far down the grid.
    In<QRadioButton>(Dialog(), "radio2")->click();
    EXPECT_EQ(codes->count(), 56);
    EXPECT_EQ(codes->currentIndex(), 0);
    EXPECT_EQ(Dialog()->State().codeIndex, 0);
    codes->lineEdit()->clear();
    QTest::keyClicks(codes->lineEdit(), "11");
    Press("goToButton");
    EXPECT_EQ(FocusCode(), "C11");
    EXPECT_EQ(TopRow(), SlotOfNumber(kC11) + 1);
    EXPECT_EQ(Grid().GetFocusCell().col, 4);
}

TEST_F(ViewCommandsTest, GoToACodeMissingFromACompareDocument) {
    Start();
    app.staging = {};
    app.staging.compareMode = 2;
    app.staging.present = {1, 1, 0};
    app.staging.names = {"a.kpf", "b.kpf", ""};
    app.staging.differs[static_cast<std::size_t>(SlotOfNumber(kF07))] = 1;
    frame->ShowDocument(CreateNewDocument(app));
    ASSERT_EQ(Grid().GetRowCount(), 2);
    frame->RunCommand(cmd::kGoTo);
    auto* codes = In<QComboBox>(Dialog(), "codeList");
    codes->lineEdit()->clear();
    QTest::keyClicks(codes->lineEdit(), "5");
    Press("goToButton");
    EXPECT_EQ(Messages(), "message|Go to|Go to the code\n'F05' not found!\n");
    codes->lineEdit()->clear();
    QTest::keyClicks(codes->lineEdit(), "7");
    Press("goToButton");
    EXPECT_EQ(FocusRow(), 1);
    EXPECT_EQ(Grid().GetFocusCell().col, 1);  // a compare row's focus is its code
}

TEST_F(ViewCommandsTest, StationTitlesPageEditClearAndCancel) {
    Start();
    CMarbenDoc* doc = OpenNew();
    doc->stationTitles[0] = "feed pump";
    doc->SetModifiedFlag(false);
    QSignalSpy retitled(frame.get(), &CMainFrame::stationTitlesChanged);
    const auto press = [](QWidget* d, QDialogButtonBox::StandardButton b) {
        d->findChild<QDialogButtonBox*>("buttons")->button(b)->click();
    };

    // Clear, then Cancel: nothing changes.
    WhenModal<CStationTitleDialog>([&](CStationTitleDialog* d) {
        In<QPushButton>(d, "clearButton")->click();
        EXPECT_EQ(In<QLineEdit>(d, "titleEdit0")->text(), "");
        press(d, QDialogButtonBox::Cancel);
    });
    frame->RunCommand(cmd::kStationTitle);
    EXPECT_EQ(doc->stationTitles[0], "feed pump");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(retitled.count(), 0);

    QString firstRows, lastRows, typed;
    WhenModal<CStationTitleDialog>([&](CStationTitleDialog* d) {
        firstRows = In<QLabel>(d, "rowLabel0")->text() + " " + In<QLineEdit>(d, "titleEdit0")->text();
        // The wheel: one notch down moves three lines.
        QWheelEvent wheel(QPointF(20, 20), d->mapToGlobal(QPoint(20, 20)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(d, &wheel);
        EXPECT_EQ(d->TopIndex(), 3);
        EXPECT_EQ(In<QLabel>(d, "rowLabel0")->text(), "4");
        auto* bar = In<QScrollBar>(d, "titleScroll");
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        EXPECT_EQ(d->TopIndex(), 244);
        lastRows = In<QLabel>(d, "rowLabel0")->text() + ".." + In<QLabel>(d, "rowLabel9")->text();
        QLineEdit* last = In<QLineEdit>(d, "titleEdit9");
        QTest::keyClicks(last, QString(70, QLatin1Char('x')));  // 64 characters at most
        typed = last->text();
        last->setText(QStringLiteral("Tank 254"));
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);  // the row goes back before the move
        press(d, QDialogButtonBox::Ok);
    });
    frame->RunCommand(cmd::kStationTitle);
    EXPECT_EQ(firstRows, "1 feed pump");
    EXPECT_EQ(lastRows, "245..254");
    EXPECT_EQ(typed.size(), 64);
    EXPECT_EQ(doc->stationTitles[253], "Tank 254");
    EXPECT_EQ(doc->stationTitles[0], "feed pump");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(retitled.count(), 1);
    EXPECT_EQ(app.busyFlag, 0);

    // Clear, then OK: every title goes, the ones out of sight too.
    WhenModal<CStationTitleDialog>([&](CStationTitleDialog* d) {
        In<QPushButton>(d, "clearButton")->click();
        press(d, QDialogButtonBox::Ok);
    });
    frame->RunCommand(cmd::kStationTitle);
    EXPECT_EQ(doc->stationTitles, StationTitles{});
}

// "Rows: code code ..." of the definite grid.
QString GridCodes(CParamGrid* g) {
    QStringList out;
    for (int r = 1; r < g->GetRowCount(); ++r) out << g->GetItemText(r, 1);
    return out.join(' ');
}
QStringList ListTexts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text().left(3);
    return out;
}

TEST_F(ViewCommandsTest, DefiniteListEditedThroughAddRemoveAndWrittenAtExit) {
    Start();
    CMarbenDoc* doc = OpenNew();
    // A settings file naming F53 and C50, which cannot be edited.
    app.settings.definiteCount = 4;
    const int kinds[4] = {1, 2, 1, 2}, numbers[4] = {53, 25, 7, 50};
    for (int i = 0; i < 4; ++i) app.settings.definiteKinds[i] = kinds[i], app.settings.definiteNumbers[i] = numbers[i];

    QString header, widths, codesBefore, codesAfter, colours;
    QStringList shownOnOpen, afterUp;
    bool stationEnabled = true;
    int stationCount = 0;
    WhenModal<CDefParaDialog>([&](CDefParaDialog* d) {
        CParamGrid* g = d->Grid();
        for (int c = 0; c < 5; ++c) {
            header += g->GetItemText(0, c) + "|";
            widths += QString::number(g->columnWidth(c)) + " ";
        }
        codesBefore = GridCodes(g);
        const int f07 = d->RowOfNumber(kF07);
        colours = g->GetItemFgColour(f07, 3).name() + " " + g->GetItemFgColour(f07, 4).name();
        stationEnabled = In<QComboBox>(d, "stationCombo")->isEnabled();
        stationCount = In<QComboBox>(d, "stationCombo")->count();

        // Cancel: the dropped entries stay in the application's list.
        WhenModal<CAddRemoveDialog>([&](CAddRemoveDialog* ar) {
            shownOnOpen = ListTexts(In<QListWidget>(ar, "definiteList"));
            EXPECT_FALSE(In<QPushButton>(ar, "addButton")->isEnabled());
            EXPECT_FALSE(In<QPushButton>(ar, "upButton")->isEnabled());
            In<QDialogButtonBox>(ar, "buttons")->button(QDialogButtonBox::Cancel)->click();
        });
        In<QPushButton>(d, "addRemoveButton")->click();
        EXPECT_EQ(app.settings.definiteCount, 4);

        // OK after moving F07 up: the shortened list in the dialog's order.
        WhenModal<CAddRemoveDialog>([&](CAddRemoveDialog* ar) {
            auto* definite = In<QListWidget>(ar, "definiteList");
            definite->setCurrentRow(1);
            EXPECT_TRUE(In<QPushButton>(ar, "upButton")->isEnabled());
            EXPECT_FALSE(In<QPushButton>(ar, "downButton")->isEnabled());
            In<QPushButton>(ar, "upButton")->click();
            afterUp = ListTexts(definite);
            In<QDialogButtonBox>(ar, "buttons")->button(QDialogButtonBox::Ok)->click();
        });
        In<QPushButton>(d, "addRemoveButton")->click();
        codesAfter = GridCodes(g);

        // An offline edit: stored in the document and shown in the view.
        g->SetFocusCell(d->RowOfNumber(kF07), 4);
        QTest::keyClick(g, Qt::Key_Return);
        EXPECT_NE(g->Editor(), nullptr);
        if (g->Editor()) {
            QTest::keyClicks(g->Editor(), "45");
            QTest::keyClick(g->Editor(), Qt::Key_Return);
        }
        QTest::keyClick(g, Qt::Key_Escape);  // belongs to the grid: the dialog stays
        EXPECT_TRUE(d->isVisible());
        In<QPushButton>(d, "closeButton")->click();
    });
    frame->RunCommand(cmd::kDefiniteParameter);
    QApplication::processEvents();

    EXPECT_EQ(header, "Description|Code|Range|Default|Setting|");
    EXPECT_EQ(widths, "260 40 90 70 70 ");
    EXPECT_EQ(codesBefore, "F53 C25 F07 C50");
    EXPECT_EQ(colours, "#ff0000 #0000ff");
    EXPECT_FALSE(stationEnabled);  // no station linked
    EXPECT_EQ(stationCount, 254);
    EXPECT_EQ(shownOnOpen, (QStringList{"C25", "F07"}));
    EXPECT_EQ(afterUp, (QStringList{"F07", "C25"}));
    EXPECT_EQ(codesAfter, "F07 C25");
    EXPECT_EQ(doc->values[0][static_cast<std::size_t>(SlotOfNumber(kF07))], 4500);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(Grid().GetItemText(View()->RowOfNumber(kF07), 4), "45.00");
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_EQ(Messages(), "");

    // The application keeps the list in the dialog's order (written at exit, see the start-up tests).
    EXPECT_EQ(app.settings.definiteCount, 2);
    const KoltSettings& set = app.settings;
    EXPECT_EQ(std::tuple(set.definiteKinds[0], set.definiteNumbers[0], set.definiteKinds[1], set.definiteNumbers[1]),
              std::tuple(1, 7, 2, 25));
}

TEST(AddRemoveDialogTest, DoubleClicksMoveEntriesAndTheButtonsFollowTheLists) {
    CAddRemoveDialog d({{1, 7}});
    d.show();
    auto* all = d.findChild<QListWidget*>("allList");
    auto* definite = d.findChild<QListWidget*>("definiteList");
    const auto enabled = [&d] {
        QString out;
        for (const char* name : {"addButton", "removeButton", "addAllButton", "removeAllButton", "upButton", "downButton"})
            out += d.findChild<QPushButton*>(name)->isEnabled() ? "1" : "0";
        return out;
    };
    const auto doubleClick = [](QListWidget* list, int row) {
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    };
    EXPECT_EQ(enabled(), "001100");
    doubleClick(all, 0);  // F01 joins the end of the list
    EXPECT_EQ(ListTexts(definite), (QStringList{"F07", "F01"}));
    doubleClick(definite, 0);  // F07 goes back
    EXPECT_EQ(ListTexts(definite), (QStringList{"F01"}));
    // The list rules are the definite editor tests'; here, that the buttons reach them.
    d.findChild<QPushButton*>("addAllButton")->click();
    EXPECT_EQ(std::pair(all->count(), definite->count()), std::pair(0, 100));
    d.findChild<QPushButton*>("removeAllButton")->click();
    EXPECT_EQ(all->count(), 100);
    EXPECT_EQ(enabled(), "001000");
    d.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(d.Result().empty());
}

TEST_F(ViewCommandsTest, OnlineWriteFromTheDefiniteGridGoesToTheStationChosenThere) {
    Start({1, 3});
    app.settings.onlineEdit = 1;
    LinkWithText("1");
    ASSERT_EQ(app.linkedFlag, 1);
    ASSERT_EQ(app.currentStation, 1);
    CMarbenDoc* doc = OpenNew();
    app.settings.definiteCount = 1;
    app.settings.definiteKinds[0] = 1;
    app.settings.definiteNumbers[0] = 1;  // F01, 0.1~999.0 s
    const std::int32_t station1Before = drive->ParamValue(1, kF01);
    fake.shown.clear();

    bool written = false;
    WhenModal<CDefParaDialog>([&](CDefParaDialog* d) {
        auto* stations = In<QComboBox>(d, "stationCombo");
        EXPECT_TRUE(stations->isEnabled());
        stations->setCurrentIndex(2);  // station 3
        CParamGrid* g = d->Grid();
        g->SetFocusCell(1, 4);
        QTest::keyClick(g, Qt::Key_Return);
        if (g->Editor()) {
            QTest::keyClicks(g->Editor(), "12.5");
            QTest::keyClick(g->Editor(), Qt::Key_Return);
        }
        // The write runs from the dialog's event loop once the edit has ended.
        written = QTest::qWaitFor([&] { return !fake.shown.empty(); }, 5000);
        In<QPushButton>(d, "closeButton")->click();
    });
    frame->RunCommand(cmd::kDefiniteParameter);
    ASSERT_TRUE(written);
    EXPECT_EQ(Messages(), "message|Write Message|Write Parameter Successfully !!\n");
    EXPECT_EQ(drive->ParamValue(3, kF01), 125);
    EXPECT_EQ(drive->ParamValue(1, kF01), station1Before);
    EXPECT_EQ(doc->values[0][static_cast<std::size_t>(SlotOfNumber(kF01))], 125);
    EXPECT_EQ(Grid().GetItemText(View()->RowOfNumber(kF01), 4), "12.5");
    EXPECT_EQ(app.busyFlag, 0);

    // Closed at once after an edit that station 3 does not answer: the write
    // still runs while the dialog exists, and the edit is taken back.
    drive->SetSilent(3, true);
    fake.shown.clear();
    doc->SetModifiedFlag(false);
    WhenModal<CDefParaDialog>([&](CDefParaDialog* d) {
        In<QComboBox>(d, "stationCombo")->setCurrentIndex(2);
        CParamGrid* g = d->Grid();
        g->SetFocusCell(1, 4);
        QTest::keyClick(g, Qt::Key_Return);
        if (g->Editor()) QTest::keyClicks(g->Editor(), "30");
        In<QPushButton>(d, "closeButton")->click();  // ends the edit as the click does
    });
    frame->RunCommand(cmd::kDefiniteParameter);
    EXPECT_EQ(Messages(), "comm|Communication Message|TIME-OUT !!\n");
    EXPECT_EQ(doc->values[0][static_cast<std::size_t>(SlotOfNumber(kF01))], 125);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Grid().GetItemText(View()->RowOfNumber(kF01), 4), "12.5");
    EXPECT_EQ(app.busyFlag, 0);
}

}  // namespace
}  // namespace kolt::testing
