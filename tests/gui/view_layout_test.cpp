// How the parameter view lays out ordinary and compare documents.
#include "view_fixture.h"

#include "catalogue/models.h"

#include <QHeaderView>

namespace kolt::testing {
namespace {

QStringList Headers(CParamGrid& g) {
    QStringList out;
    for (int c = 0; c < g.GetColumnCount(); ++c) out << g.GetItemText(0, c);
    return out;
}

QStringList Codes(CParamGrid& g) {
    QStringList out;
    for (int r = 1; r < g.GetRowCount(); ++r) out << g.GetItemText(r, 1);
    return out;
}

TEST_F(ViewTest, OrdinaryDocumentShowsAll111Parameters) {
    MakeView(7);
    CParamGrid& g = Grid();
    EXPECT_EQ(g.GetRowCount(), 112);
    EXPECT_EQ(Headers(g), (QStringList{"Description", "Code", "Range", "Default", "Setting"}));
    EXPECT_EQ(g.GetItemText(1, 1), "F00");
    EXPECT_EQ(g.GetItemText(56, 1), "C00");
    EXPECT_EQ(g.NumberOfRow(56), 100);
    EXPECT_EQ(g.GetItemText(111, 1), "C55");
    EXPECT_EQ(g.GetItemText(RowOf(7), 0), "Frequency upper limit (Hz)");
    EXPECT_EQ(g.GetItemText(RowOf(7), 2), "1.00~200.00");
    EXPECT_EQ(g.GetItemText(RowOf(7), 3), "50.00/60.00");
    EXPECT_EQ(g.GetItemText(1, 4), "007");  // F00 of model 7
    EXPECT_EQ(Setting(7), "50.00");         // 50 Hz document
    EXPECT_EQ(Setting(125), "4.0");         // C25 of model 7
}

TEST_F(ViewTest, OrdinaryCellStyles) {
    MakeView();
    CParamGrid& g = Grid();
    EXPECT_EQ(g.GetItemBkColour(0, 2), QColor(250, 252, 210));
    EXPECT_EQ(g.GetItemFont(0, 0).weight(), QFont::Black);
    EXPECT_TRUE(g.GetItemFont(5, 0).fixedPitch());
    EXPECT_EQ(g.GetItemFgColour(5, 3), QColor(255, 0, 0));
    EXPECT_EQ(g.GetItemFgColour(5, 4), QColor(0, 0, 255));
    EXPECT_EQ(g.palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_TRUE(g.GetListMode());
    EXPECT_FALSE(g.verticalHeader()->isVisible());  // rows cannot be resized
    for (int c = 0; c < 4; ++c) EXPECT_FALSE(g.IsCellEditable(5, c)) << c;
    // Read-only parameters keep their setting read-only; the others may be edited.
    for (int n : {0, 53, 54, 148, 149, 150, 151, 152, 153, 154, 155})
        EXPECT_FALSE(g.IsCellEditable(RowOf(n), 4)) << CodeText(n);
    for (int n : {1, 7, 52, 100, 147}) EXPECT_TRUE(g.IsCellEditable(RowOf(n), 4)) << CodeText(n);
}

TEST_F(ViewTest, ColumnsFillTheWidth) {
    MakeView();
    CParamGrid& g = Grid();
    int total = 0;
    for (int c = 0; c < g.GetColumnCount(); ++c) total += g.columnWidth(c);
    EXPECT_EQ(total, g.viewport()->width());
    view->resize(1400, 500);
    QCoreApplication::processEvents();
    total = 0;
    for (int c = 0; c < g.GetColumnCount(); ++c) total += g.columnWidth(c);
    EXPECT_EQ(total, g.viewport()->width());
}

TEST_F(ViewTest, VersionAndFaultsAreEmptyInADocumentMadeOffline) {
    app.linkedFlag = 0;
    MakeView();
    EXPECT_EQ(Setting(53), "");
    EXPECT_EQ(Setting(54), "");
    EXPECT_EQ(Setting(52), "0");

    app.linkedFlag = 1;
    doc = std::make_unique<CMarbenDoc>(app);
    doc->OnNewDocument();
    doc->values[0][53] = 12;
    ShowView();
    EXPECT_EQ(Setting(53), "1.2");
    EXPECT_EQ(Setting(54), "0");
}

TEST_F(ViewTest, RefreshAfterAReadRebuildsDefaultsAndSettings) {
    MakeView(7);
    // An edit running when the read lands is dropped, not stored over the read.
    Grid().SetFocusCell(RowOf(1), 4);
    QTest::keyClick(&Grid(), Qt::Key_9);
    ASSERT_TRUE(Grid().IsEditing());
    doc->model = 8;
    doc->values[0][1] = 123;
    doc->linked = 1;
    doc->values[0][53] = 21;
    ASSERT_TRUE(doc->onRefreshView);
    doc->onRefreshView();
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_EQ(doc->values[0][1], 123);
    EXPECT_EQ(Setting(1), "12.3");
    EXPECT_EQ(Setting(53), "2.1");
    EXPECT_EQ(Grid().GetItemText(1, 3), "008");  // F00's default follows the model
    EXPECT_EQ(Grid().GetItemText(RowOf(44), 3), "440.0");  // F44 of a 400 V model
}

// Compare documents ------------------------------------------------------

class CompareViewTest : public ViewTest {
protected:
    // Staging area with every source equal to the defaults of model 7 at 50 Hz.
    void StageDefaults(int mode) {
        app.currentModel = 7;
        app.settings.hz50 = 1;
        app.staging.compareMode = mode;
        for (int k = 0; k < 3; ++k)
            for (int slot = 0; slot < kParamCount; ++slot)
                app.staging.values[static_cast<std::size_t>(k)][static_cast<std::size_t>(slot)] =
                    DefaultValue(NumberOfSlot(slot), 7, true);
    }
    void MakeCompare() {
        doc = std::make_unique<CMarbenDoc>(app);
        doc->hz50 = 1;
        doc->OnNewDocument();
        ShowView();
    }
};

TEST_F(CompareViewTest, InverterWithDefaultShowsOnlyDifferingRows) {
    StageDefaults(1);
    app.staging.present = {1, 0, 0};
    app.staging.names = {"Station_007", "", ""};
    app.staging.values[0][1] = 100;   // F01 10.0
    app.staging.values[0][80] = 12;   // C25 1.2
    MakeCompare();
    ASSERT_EQ(doc->compareMode, 1);
    CParamGrid& g = Grid();
    EXPECT_EQ(Headers(g), (QStringList{"Description", "Code", "Default", "Station_007"}));
    EXPECT_EQ(Codes(g), (QStringList{"F01", "C25"}));
    EXPECT_EQ(g.GetItemText(1, 2), "5.0");
    EXPECT_EQ(g.GetItemFgColour(1, 2), QColor(255, 0, 0));
    EXPECT_EQ(g.GetItemText(1, 3), "10.0");
    EXPECT_EQ(g.GetItemText(2, 3), "1.2");
    for (int r = 1; r < g.GetRowCount(); ++r)
        for (int c = 0; c < g.GetColumnCount(); ++c) EXPECT_FALSE(g.IsCellEditable(r, c)) << r << "," << c;
    // No editor opens on a compare document.
    g.SetFocusCell(1, 3);
    QTest::keyClick(&g, Qt::Key_Return);
    QTest::keyClick(&g, Qt::Key_5);
    EXPECT_FALSE(g.IsEditing());
}

TEST_F(CompareViewTest, FileWithFileUsesTheStagedDiffersFlags) {
    StageDefaults(2);
    app.staging.present = {1, 1, 0};
    app.staging.names = {"a.kpf", "b.kpf", ""};
    app.staging.differs = {};
    app.staging.differs[7] = 1;
    app.staging.differs[100] = 1;  // C45
    app.staging.values[1][7] = 6000;
    app.staging.values[1][100] = 20;
    MakeCompare();
    CParamGrid& g = Grid();
    EXPECT_EQ(Headers(g), (QStringList{"Description", "Code", "a.kpf", "b.kpf"}));
    EXPECT_EQ(Codes(g), (QStringList{"F07", "C45"}));
    EXPECT_EQ(g.GetItemText(1, 2), "50.00");
    EXPECT_EQ(g.GetItemText(1, 3), "60.00");
    EXPECT_EQ(g.GetItemText(2, 3), "20");
}

TEST_F(CompareViewTest, FilesWithDefaultLeavesAbsentSourcesEmpty) {
    StageDefaults(3);
    app.staging.present = {0, 1, 0};
    app.staging.names = {"------", "two.kpf", "------"};
    app.staging.values[0][2] = 999;  // absent source: never counts
    app.staging.values[1][3] = 1;    // F03
    MakeCompare();
    CParamGrid& g = Grid();
    EXPECT_EQ(Headers(g), (QStringList{"Description", "Code", "Default", "------", "two.kpf", "------"}));
    EXPECT_EQ(Codes(g), (QStringList{"F03"}));
    EXPECT_EQ(g.GetItemText(1, 2), "0");
    EXPECT_EQ(g.GetItemText(1, 3), "");
    EXPECT_EQ(g.GetItemText(1, 4), "1");
    EXPECT_EQ(g.GetItemText(1, 5), "");
}

TEST_F(CompareViewTest, NoDifferenceLeavesTheHeaderOnly) {
    StageDefaults(2);
    app.staging.present = {1, 1, 0};
    app.staging.differs = {};
    MakeCompare();
    EXPECT_EQ(Grid().GetRowCount(), 1);
    EXPECT_EQ(Grid().GetColumnCount(), 4);
}

TEST_F(ViewTest, UnknownCompareModeIsShownReadOnly) {
    MakeView();
    doc->compareMode = 7;  // as a damaged compare file can carry
    view->OnInitialUpdate();
    CParamGrid& g = Grid();
    EXPECT_EQ(g.GetRowCount(), 112);
    EXPECT_EQ(g.GetItemText(RowOf(1), 1), "F01");
    EXPECT_EQ(Setting(1), "5.0");
    g.SetFocusCell(RowOf(1), 4);
    QTest::keyClick(&g, Qt::Key_Return);
    EXPECT_FALSE(g.IsEditing());
}

}  // namespace
}  // namespace kolt::testing
