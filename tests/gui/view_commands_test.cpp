// The Edit menu's commands through the main window: that Find and Go to, Station
// Title and the definite-parameter dialogs reach the rules the core tests pin,
// offline and with an online write to the virtual drive.
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
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

namespace kolt::testing {
namespace {

constexpr int kF01 = 1, kF05 = 5, kF07 = 7, kC11 = 111;

template <class W>
W* In(QWidget* parent, const char* name) {
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
void Press(QWidget* d, QDialogButtonBox::StandardButton b) { In<QDialogButtonBox>(d, "buttons")->button(b)->click(); }
// Types `text` as a new setting into `row` of `g` (Return starts and ends the edit).
void EditSetting(CParamGrid* g, int row, const char* text, bool end = true) {
    g->SetFocusCell(row, 4);
    QTest::keyClick(g, Qt::Key_Return);
    ASSERT_NE(g->Editor(), nullptr);
    QTest::keyClicks(g->Editor(), text);
    if (end) QTest::keyClick(g->Editor(), Qt::Key_Return);
}
// The first three letters (the code) of each list entry.
QStringList ListCodes(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text().left(3);
    return out;
}

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
    // Presses a button of the find dialog; the request runs from the event loop.
    void Press(const char* button) {
        In<QPushButton>(Dialog(), button)->click();
        QApplication::processEvents();
    }
    QString Texts(const char* a, const char* b) {
        return In<QRadioButton>(Dialog(), a)->text() + "/" + In<QRadioButton>(Dialog(), b)->text();
    }
    void GoTo(const char* number) {
        auto* codes = In<QComboBox>(Dialog(), "codeList");
        codes->lineEdit()->clear();
        QTest::keyClicks(codes->lineEdit(), number);
        Press("goToButton");
    }
    // "code col top": the focused row's code, the focused column, the first row under the header.
    QString Focus() {
        const GridCellId f = Grid().GetFocusCell();
        return QStringLiteral("%1 %2 %3").arg(Grid().GetItemText(f.row, 1)).arg(f.col).arg(Grid().rowAt(0) + 1);
    }
};

TEST_F(ViewCommandsTest, FindAndGoToReachTheGridAndKeepTheirFields) {
    Start();
    OpenNew();
    frame->RunCommand(cmd::kEditFind);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->windowTitle(), "Find and Go to");
    EXPECT_EQ(In<QGroupBox>(Dialog(), "radioGroup")->title() + Texts("radio1", "radio2"), "Direction:Up/Down");
    EXPECT_FALSE(In<QComboBox>(Dialog(), "codeList")->isVisibleTo(Dialog()));
    QTest::keyClicks(In<QLineEdit>(Dialog(), "findText"), "acceleration TIME");
    Grid().setCurrentIndex({});  // no focus cell: the search starts at the top
    Press("findNextButton");
    EXPECT_EQ(QString::number(Grid().selectionModel()->selectedIndexes().size()) + " " + Focus().left(6), "5 F01 4 ");
    In<QRadioButton>(Dialog(), "radio1")->click();  // Up from F01: nothing (down, C11 would follow)
    Press("findNextButton");
    EXPECT_EQ(QString::fromStdString(Messages()) + Focus().left(3) + QString::number(app.busyFlag),
              "message|Find|Search text\n 'acceleration TIME' not found!\nF010");

    // Cancel hides the dialog; the next Find shows it again with its fields.
    CFindGotoDialog* first = Dialog();
    Press("cancelButton");
    const bool hidden = !first->isVisible();
    frame->RunCommand(cmd::kEditFind);
    EXPECT_TRUE(hidden && Dialog() == first && first->isVisible() && first->State().direction == kFindUp);
    EXPECT_EQ(In<QLineEdit>(first, "findText")->text(), "acceleration TIME");

    frame->RunCommand(cmd::kGoTo);
    EXPECT_EQ(In<QGroupBox>(Dialog(), "radioGroup")->title() + Texts("radio1", "radio2"), "Code type:Fxx/Cxx");
    EXPECT_FALSE(In<QLineEdit>(Dialog(), "findText")->isVisibleTo(Dialog()));
    auto* codes = In<QComboBox>(Dialog(), "codeList");
    EXPECT_EQ(codes->count(), 55);
    GoTo("5");  // the prefix rule: F05, not F50
    EXPECT_EQ(Focus(), QStringLiteral("F05 4 %1").arg(SlotOfNumber(kF05) + 1));
    In<QRadioButton>(Dialog(), "radio2")->click();  // Cxx refills the list and selects C00
    EXPECT_EQ(std::make_pair(codes->count(), codes->currentIndex()), std::make_pair(56, 0));
    GoTo("11");
    EXPECT_EQ(Focus(), QStringLiteral("C11 4 %1").arg(SlotOfNumber(kC11) + 1));
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
    GoTo("5");
    EXPECT_EQ(Messages(), "message|Go to|Go to the code\n'F05' not found!\n");
    GoTo("7");
    EXPECT_EQ(Focus().left(5), "F07 1");  // a compare row's focus is its code
}

TEST_F(ViewCommandsTest, StationTitlesPageEditClearAndCancel) {
    Start();
    CMarbenDoc* doc = OpenNew();
    doc->stationTitles[0] = "feed pump";
    doc->SetModifiedFlag(false);
    QSignalSpy retitled(frame.get(), &CMainFrame::stationTitlesChanged);
    // Clear, then Cancel or OK.
    const auto clearAnd = [&](QDialogButtonBox::StandardButton b) {
        WhenModal<CStationTitleDialog>([b](CStationTitleDialog* d) {
            In<QPushButton>(d, "clearButton")->click();
            EXPECT_EQ(In<QLineEdit>(d, "titleEdit0")->text(), "");
            kolt::testing::Press(d, b);
        });
        frame->RunCommand(cmd::kStationTitle);
    };
    clearAnd(QDialogButtonBox::Cancel);
    EXPECT_EQ(std::tuple(doc->stationTitles[0], doc->IsModified(), retitled.count()), std::tuple("feed pump", false, 0));

    QStringList seen;
    WhenModal<CStationTitleDialog>([&](CStationTitleDialog* d) {
        const auto rows = [d] { return In<QLabel>(d, "rowLabel0")->text() + ".." + In<QLabel>(d, "rowLabel9")->text(); };
        seen << rows() + " " + In<QLineEdit>(d, "titleEdit0")->text();
        QWheelEvent wheel(QPointF(20, 20), d->mapToGlobal(QPoint(20, 20)), {}, {0, -120}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(d, &wheel);  // one notch: three rows
        seen << rows();
        auto* bar = In<QScrollBar>(d, "titleScroll");
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        seen << rows();
        QLineEdit* last = In<QLineEdit>(d, "titleEdit9");
        QTest::keyClicks(last, QString(70, QLatin1Char('x')));
        seen << QString::number(last->text().size());
        last->setText(QStringLiteral("Tank 254"));
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);  // the row goes back before the move
        kolt::testing::Press(d, QDialogButtonBox::Ok);
    });
    frame->RunCommand(cmd::kStationTitle);
    EXPECT_EQ(seen, (QStringList{"1..10 feed pump", "4..13", "245..254", "64"}));
    EXPECT_EQ(std::tuple(doc->stationTitles[253], doc->stationTitles[0], doc->IsModified(), retitled.count(), app.busyFlag),
              std::tuple("Tank 254", "feed pump", true, 1, 0));
    clearAnd(QDialogButtonBox::Ok);  // every title goes, the ones out of sight too
    EXPECT_EQ(doc->stationTitles, StationTitles{});
}

TEST_F(ViewCommandsTest, DefiniteListEditedThroughAddRemoveAndAnOfflineEdit) {
    Start();
    CMarbenDoc* doc = OpenNew();
    // A settings file naming F53 and C50, which cannot be edited.
    app.settings.definiteCount = 4;
    app.settings.definiteKinds = {1, 2, 1, 2};
    app.settings.definiteNumbers = {53, 25, 7, 50};

    QStringList seen;
    WhenModal<CDefParaDialog>([&](CDefParaDialog* d) {
        CParamGrid* g = d->Grid();
        const auto codes = [g] {
            QString out;
            for (int r = 1; r < g->GetRowCount(); ++r) out += g->GetItemText(r, 1) + " ";
            return out;
        };
        QString header;
        for (int c = 0; c < 5; ++c) header += g->GetItemText(0, c) + ":" + QString::number(g->columnWidth(c)) + " ";
        const int f07 = d->RowOfNumber(kF07);
        auto* stations = In<QComboBox>(d, "stationCombo");
        seen << header << codes() << g->GetItemFgColour(f07, 3).name() + " " + g->GetItemFgColour(f07, 4).name()
             << QStringLiteral("%1 %2").arg(stations->isEnabled()).arg(stations->count());
        // Cancel keeps the application's list; OK after moving F07 up takes the dialog's.
        for (auto button : {QDialogButtonBox::Cancel, QDialogButtonBox::Ok}) {
            WhenModal<CAddRemoveDialog>([&, button](CAddRemoveDialog* ar) {
                auto* definite = In<QListWidget>(ar, "definiteList");
                seen << ListCodes(definite).join(' ');
                definite->setCurrentRow(1);
                In<QPushButton>(ar, "upButton")->click();
                kolt::testing::Press(ar, button);
            });
            In<QPushButton>(d, "addRemoveButton")->click();
            seen << QString::number(app.settings.definiteCount) + " " + codes();
        }
        EditSetting(g, d->RowOfNumber(kF07), "45");
        QTest::keyClick(g, Qt::Key_Escape);  // belongs to the grid: the dialog stays
        EXPECT_TRUE(d->isVisible());
        In<QPushButton>(d, "closeButton")->click();
    });
    frame->RunCommand(cmd::kDefiniteParameter);
    QApplication::processEvents();
    EXPECT_EQ(seen, (QStringList{"Description:260 Code:40 Range:90 Default:70 Setting:70 ", "F53 C25 F07 C50 ",
                                 "#ff0000 #0000ff", "0 254",  // no station linked
                                 "C25 F07", "4 F53 C25 F07 C50 ", "C25 F07", "2 F07 C25 "}));
    const KoltSettings& set = app.settings;  // written at exit, see the start-up tests
    EXPECT_EQ(std::tuple(Shows(kF07), doc->IsModified(), app.busyFlag, Messages(), set.definiteKinds[0],
                         set.definiteNumbers[0], set.definiteKinds[1], set.definiteNumbers[1]),
              std::tuple("45.00 = 4500", true, 0, "", 1, 7, 2, 25));
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
    EXPECT_EQ(ListCodes(definite), (QStringList{"F07", "F01"}));
    doubleClick(definite, 0);  // F07 goes back
    EXPECT_EQ(ListCodes(definite), (QStringList{"F01"}));
    // The list rules are the definite editor tests'; here, that the buttons reach them.
    d.findChild<QPushButton*>("addAllButton")->click();
    EXPECT_EQ(std::pair(all->count(), definite->count()), std::pair(0, 100));
    d.findChild<QPushButton*>("removeAllButton")->click();
    EXPECT_EQ(QString::number(all->count()) + " " + enabled(), "100 001000");
    Press(&d, QDialogButtonBox::Ok);
    EXPECT_TRUE(d.Result().empty());
}

TEST_F(ViewCommandsTest, OnlineWriteFromTheDefiniteGridGoesToTheStationChosenThere) {
    Start({1, 3});
    app.settings.onlineEdit = 1;
    LinkWithText("1");
    ASSERT_EQ(std::tie(app.linkedFlag, app.currentStation), std::make_tuple(1, 1));
    CMarbenDoc* doc = OpenNew();
    std::tie(app.settings.definiteCount, app.settings.definiteKinds[0], app.settings.definiteNumbers[0]) =
        std::tuple(1, 1, kF01);  // 0.1~999.0 s
    const std::int32_t station1Before = drive->ParamValue(1, kF01);
    fake.shown.clear();
    // Types `text` into F01 for station 3; `close` presses Close at once, ending the edit as the click does.
    const auto editForStation3 = [&](const char* text, bool close) {
        bool written = false;
        WhenModal<CDefParaDialog>([&](CDefParaDialog* d) {
            auto* stations = In<QComboBox>(d, "stationCombo");
            EXPECT_TRUE(stations->isEnabled());
            stations->setCurrentIndex(2);
            EditSetting(d->Grid(), 1, text, !close);
            // The write runs from the dialog's event loop once the edit has ended.
            if (!close) written = QTest::qWaitFor([&] { return !fake.shown.empty(); }, 5000);
            In<QPushButton>(d, "closeButton")->click();
        });
        frame->RunCommand(cmd::kDefiniteParameter);
        return close || written;
    };
    ASSERT_TRUE(editForStation3("12.5", false));
    EXPECT_EQ(std::tuple(Messages(), drive->ParamValue(3, kF01), drive->ParamValue(1, kF01), Shows(kF01), app.busyFlag),
              std::tuple("message|Write Message|Write Parameter Successfully !!\n", 125, station1Before, "12.5 = 125", 0));

    // Closed at once after an edit that station 3 does not answer: the write
    // still runs while the dialog exists, and the edit is taken back.
    drive->SetSilent(3, true);
    fake.shown.clear();
    doc->SetModifiedFlag(false);
    editForStation3("30", true);
    EXPECT_EQ(std::tuple(Messages(), Shows(kF01), doc->IsModified(), app.busyFlag),
              std::tuple("comm|Communication Message|TIME-OUT !!\n", "12.5 = 125", false, 0));
}

}  // namespace
}  // namespace kolt::testing
