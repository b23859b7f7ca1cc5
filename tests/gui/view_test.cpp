// The parameter view over ordinary and compare documents: layouts, the typing
// filter in the real editor, the range check, the commit into the document and
// the online-edit hand-over.
#include "base/marben_app.h"
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "core/fake_prompts.h"
#include "document/marben_doc.h"
#include "grid/ui/in_place_edit.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <tuple>

namespace kolt::testing {
namespace {

class ViewTest : public ::testing::Test {
protected:
    CMarbenApp app;
    FakePrompts prompts;
    std::unique_ptr<CMarbenDoc> doc;
    std::unique_ptr<CMarbenView> view;

    // A new document (of `model`, or the staged compare) and the view over it.
    void MakeView(int model = 7) {
        app.currentModel = model;
        doc = std::make_unique<CMarbenDoc>(app);
        doc->hz50 = 1;
        doc->OnNewDocument();
        view = std::make_unique<CMarbenView>(doc.get(), &app, &prompts);
        view->resize(900, 500);
        view->show();
    }
    CParamGrid& Grid() { return *view->Grid(); }
    static int RowOf(int number) { return SlotOfNumber(number) + 1; }
    QString Setting(int number) { return Grid().GetItemText(RowOf(number), 4); }
    std::int32_t DocValue(int number) { return doc->values[0][static_cast<std::size_t>(SlotOfNumber(number))]; }
    // The cell's text and the document's value together, as "12.0 = 120".
    QString Shows(int number) { return Setting(number) + " = " + QString::number(DocValue(number)); }

    // Opens the editor on a setting with Enter; nullptr when the grid refuses.
    CInPlaceEdit* OpenEditor(int number) {
        Grid().SetFocusCell(RowOf(number), 4);
        QTest::keyClick(&Grid(), Qt::Key_Return);
        return Grid().Editor();
    }
    // Opens the editor on `number`, types `keys`, ends the edit with `endKey`
    // and returns what the editor held before that key.
    QString Edit(int number, const char* keys, Qt::Key endKey = Qt::Key_Return) {
        CInPlaceEdit* ed = OpenEditor(number);
        if (!ed) return QStringLiteral("<no editor>");
        QTest::keyClicks(ed, QString::fromLatin1(keys));
        const QString held = ed->text();
        QTest::keyClick(ed, endKey);
        EXPECT_FALSE(Grid().IsEditing());
        return held;
    }
};

constexpr int kF01 = 1;    // one decimal, width 5, 0.1~999.0
constexpr int kF23 = 23;   // two decimals, width 5
constexpr int kF52 = 52;   // factory default
constexpr int kC23 = 123;  // one decimal, width 4

// The typing rules are the core's (setting edit tests); here, that the real
// editor applies them with the document's own format and width.
TEST_F(ViewTest, TypingFilterInTheRealEditor) {
    MakeView();
    EXPECT_EQ(Edit(kC23, "1x-2.55", Qt::Key_Escape), "12.5");
    doc->widthByNumber[kF23] = 4;  // no catalogue parameter has two decimals in width 4
    EXPECT_EQ(Edit(kF23, "12", Qt::Key_Escape), "1");
}

TEST_F(ViewTest, HowTheEditorStarts) {
    MakeView();
    CParamGrid& g = Grid();
    // Starts the editor on F01 (5.0) with `start` and returns text and selection.
    const auto startWith = [&](const std::function<void()>& start) {
        g.SetFocusCell(RowOf(kF01), 4);
        start();
        if (!g.IsEditing()) return QStringLiteral("<no editor>");
        const QString seen = g.Editor()->text() + "|" + g.Editor()->selectedText();
        QTest::keyClick(g.Editor(), Qt::Key_Escape);
        return seen;
    };
    EXPECT_EQ(startWith([&] { QTest::keyClick(&g, Qt::Key_7); }), "7|");  // a digit replaces the text
    EXPECT_EQ(startWith([&] { QTest::keyClick(&g, Qt::Key_Backspace); }), "5.|");
    EXPECT_EQ(startWith([&] { QTest::keyClick(&g, Qt::Key_A); }), "5.0|5.0");  // opens, is not typed
    EXPECT_EQ(startWith([&] {
                  const QRect cell = g.visualRect(g.model()->index(RowOf(kF01) - 1, 4));
                  QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cell.center());
              }),
              "5.0|5.0");
    // Which settings open is decided in the core; the grid asks it, and shows it in the cursor.
    EXPECT_EQ(OpenEditor(53), nullptr);
    EXPECT_EQ(OpenEditor(kF52), nullptr);
    EXPECT_EQ(Grid().CellCursor(RowOf(kF52), 4)->shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(Grid().CellCursor(RowOf(kF01), 4)->shape(), Qt::IBeamCursor);
}

TEST_F(ViewTest, EndingAnEdit) {
    MakeView();
    EXPECT_EQ(Edit(kF01, "77", Qt::Key_Escape), "77");  // Escape changes nothing
    EXPECT_EQ(Shows(kF01), "5.0 = 50");
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(Grid().GetModified(RowOf(kF01), 4));

    // Out of range: the message, the old value kept. An edit ended by a command
    // that is already busy (a dialog opening) leaves the command's flag up.
    app.busyFlag = 1;
    Edit(kF01, "0");
    EXPECT_EQ(app.busyFlag, 1);
    app.busyFlag = 0;
    EXPECT_EQ(prompts.shown.size(), 1u);  // its text is pinned by the edit rules tests
    EXPECT_EQ(Shows(kF01), "5.0 = 50");
    EXPECT_FALSE(doc->IsModified());

    // Accepted: stored and shown in the normal form; Tab ends it too.
    Edit(kF01, "12");
    EXPECT_EQ(Shows(kF01), "12.0 = 120");
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Grid().GetModified(RowOf(kF01), 4));
    Edit(7, "150.5", Qt::Key_Tab);
    EXPECT_EQ(Shows(7), "150.50 = 15050");
    EXPECT_EQ(prompts.shown.size(), 1u);
}

// Posting and sending online edits are decided in the core and driven end to
// end in link_commands_test; here the range message and taking an edit back.
TEST_F(ViewTest, OnlineEditRangeAndRestore) {
    app.settings.onlineEdit = 1;
    app.linkedFlag = 1;
    MakeView();
    Edit(kF52, "15");
    EXPECT_EQ(prompts.shown.size(), 1u);  // 15 lies between F52's limits but is no reset code
    EXPECT_EQ(Setting(kF52), "0");

    Edit(7, "60");  // an earlier modification stays when a later edit is taken back
    Edit(kF01, "7");
    view->RestoreOnlineEdit();
    EXPECT_EQ(Shows(kF01), "5.0 = 50");
    EXPECT_FALSE(Grid().GetModified(RowOf(kF01), 4));
    EXPECT_EQ(Shows(7), "60.00 = 6000");
    EXPECT_TRUE(doc->IsModified());
}

// The texts of row `row`, or of column `col` below the header.
QStringList RowTexts(CParamGrid& g, int row) {
    QStringList out;
    for (int c = 0; c < g.GetColumnCount(); ++c) out << g.GetItemText(row, c);
    return out;
}
QStringList ColumnTexts(CParamGrid& g, int col) {
    QStringList out;
    for (int r = 1; r < g.GetRowCount(); ++r) out << g.GetItemText(r, col);
    return out;
}

TEST_F(ViewTest, OrdinaryDocumentShowsAll111Parameters) {
    struct DarkTheme {  // light text on dark windows, for this test only
        QPalette desktop = QApplication::palette();
        DarkTheme() {
            QPalette dark = desktop;
            dark.setColor(QPalette::Base, Qt::black);
            dark.setColor(QPalette::Text, Qt::white);
            QApplication::setPalette(dark);
        }
        ~DarkTheme() { QApplication::setPalette(desktop); }
    } theme;
    MakeView(7);
    CParamGrid& g = Grid();
    EXPECT_EQ(g.GetRowCount(), 112);
    EXPECT_EQ(RowTexts(g, 0), (QStringList{"Description", "Code", "Range", "Default", "Setting"}));
    EXPECT_EQ(RowTexts(g, RowOf(7)),
              (QStringList{"Frequency upper limit (Hz)", "F07", "1.00~200.00", "50.00/60.00", "50.00"}));
    EXPECT_EQ(g.GetItemText(56, 1) + g.GetItemText(111, 1), "C00C55");
    EXPECT_EQ(Setting(53) + Setting(54), "");  // version and fault are empty in a document made offline

    EXPECT_EQ(g.GetItemFgColour(5, 0), QColor(0, 0, 0));  // black on white whatever the theme
    EXPECT_EQ(g.GetItemBkColour(5, 0), QColor(255, 255, 255));
    EXPECT_EQ(g.GetItemFgColour(5, 3), QColor(255, 0, 0));  // defaults red, settings blue
    EXPECT_EQ(g.GetItemFgColour(5, 4), QColor(0, 0, 255));
    for (int c = 0; c < 4; ++c) EXPECT_FALSE(g.IsCellEditable(5, c)) << c;
    EXPECT_TRUE(g.IsCellEditable(5, 4));
}

TEST_F(ViewTest, RefreshAfterAReadDropsARunningEdit) {
    app.linkedFlag = 1;
    MakeView(7);
    EXPECT_EQ(Setting(54), "0");  // made while linked
    Grid().SetFocusCell(RowOf(1), 4);
    QTest::keyClick(&Grid(), Qt::Key_9);
    ASSERT_TRUE(Grid().IsEditing());
    doc->model = 8;
    doc->values[0][1] = 123;
    doc->values[0][53] = 21;
    ASSERT_TRUE(doc->onRefreshView);
    doc->onRefreshView();
    EXPECT_FALSE(Grid().IsEditing());
    EXPECT_EQ(Shows(1), "12.3 = 123");  // the edit is not stored over the read
    EXPECT_EQ(Setting(53), "2.1");
    EXPECT_EQ(Grid().GetItemText(1, 3), "008");            // F00's default follows the model
    EXPECT_EQ(Grid().GetItemText(RowOf(44), 3), "440.0");  // F44 of a 400 V model
}

TEST_F(ViewTest, UnknownCompareModeIsShownReadOnly) {
    MakeView();
    doc->compareMode = 7;  // as a damaged compare file can carry
    view->OnInitialUpdate();
    EXPECT_EQ(Grid().GetRowCount(), 112);
    EXPECT_EQ(Setting(1), "5.0");
    EXPECT_EQ(OpenEditor(1), nullptr);
}

TEST_F(ViewTest, CompareLayouts) {
    struct Case {
        const char* name;
        int mode;
        std::array<std::int32_t, 3> present;
        std::array<std::string, 3> names;
        std::vector<std::tuple<int, int, std::int32_t>> values;  // source, slot, value
        std::vector<int> differs;                                // staged by file-with-file only
        QStringList headers, codes, firstRow;
    };
    // Headers and rows per mode are pinned through kolt-cli, which lays documents
    // out by the same rules; here the view's own cells: every column kind once.
    const Case cases[] = {
        {"inverter with default", 1, {1, 0, 0}, {"Station_007", "", ""}, {{0, 1, 100}, {0, 80, 12}}, {},
         {"Description", "Code", "Default", "Station_007"}, {"F01", "C25"},
         {"Acceleration time 1 (s)", "F01", "5.0", "10.0"}},
        {"files with default, absent sources empty", 3, {0, 1, 0}, {"------", "two.kpf", "------"},
         {{0, 2, 999}, {1, 3, 1}}, {},
         {"Description", "Code", "Default", "------", "two.kpf", "------"}, {"F03"},
         {"Motor rotation direction", "F03", "0", "", "1", ""}},
        {"no difference", 2, {1, 1, 0}, {"a", "b", ""}, {}, {}, {"Description", "Code", "a", "b"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.settings.hz50 = 1;
        app.staging.compareMode = c.mode;
        app.staging.present = c.present;
        app.staging.names = c.names;
        app.staging.differs = {};
        for (int slot : c.differs) app.staging.differs[static_cast<std::size_t>(slot)] = 1;
        for (std::size_t k = 0; k < 3; ++k)
            for (int slot = 0; slot < kParamCount; ++slot)
                app.staging.values[k][static_cast<std::size_t>(slot)] = DefaultValue(NumberOfSlot(slot), 7, true);
        for (const auto& [k, slot, v] : c.values)
            app.staging.values[static_cast<std::size_t>(k)][static_cast<std::size_t>(slot)] = v;
        MakeView(7);
        ASSERT_EQ(doc->compareMode, c.mode);
        CParamGrid& g = Grid();
        EXPECT_EQ(RowTexts(g, 0), c.headers);
        EXPECT_EQ(ColumnTexts(g, 1), c.codes);
        if (c.codes.isEmpty()) continue;
        EXPECT_EQ(RowTexts(g, 1), c.firstRow);
        if (c.headers[2] == "Default") {
            EXPECT_EQ(g.GetItemFgColour(1, 2), QColor(255, 0, 0));
        }
        for (int r = 1; r < g.GetRowCount(); ++r)
            for (int col = 0; col < g.GetColumnCount(); ++col) EXPECT_FALSE(g.IsCellEditable(r, col)) << r << "," << col;
    }
}

}  // namespace
}  // namespace kolt::testing
