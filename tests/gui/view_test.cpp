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
#include "view/ui/station_title_dialog.h"

#include <QApplication>
#include <QLineEdit>
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
    // The cell's text and the document's value together, as "12.0 = 120".
    QString Shows(int number) {
        return Setting(number) + " = " + QString::number(doc->values[0][static_cast<std::size_t>(SlotOfNumber(number))]);
    }
    // Opens the editor on a setting with Enter; nullptr when the grid refuses.
    CInPlaceEdit* OpenEditor(int number) {
        Grid().SetFocusCell(RowOf(number), 4);
        QTest::keyClick(&Grid(), Qt::Key_Return);
        return Grid().Editor();
    }
    // Opens the editor, types `keys`, ends the edit with `endKey`; returns what the editor held before that key.
    QString Edit(int number, const char* keys, Qt::Key endKey = Qt::Key_Return) {
        CInPlaceEdit* ed = OpenEditor(number);
        if (!ed) return QStringLiteral("<no editor>");
        QTest::keyClicks(ed, QString::fromLatin1(keys));
        const QString held = ed->text();
        QTest::keyClick(ed, endKey);
        EXPECT_FALSE(Grid().IsEditing());
        return held;
    }
    QStringList RowTexts(int row) {
        QStringList out;
        for (int c = 0; c < Grid().GetColumnCount(); ++c) out << Grid().GetItemText(row, c);
        return out;
    }
};

constexpr int kF01 = 1;    // one decimal, width 5, 0.1~999.0
constexpr int kF23 = 23;   // two decimals, width 5
constexpr int kF52 = 52;   // factory default
constexpr int kC23 = 123;  // one decimal, width 4

// The typing and range rules are the core's (setting edit tests); here, that
// the real editor applies them with the document's own format and width, and
// what each way of ending an edit leaves in the cell, the document and the messages.
TEST_F(ViewTest, EditsInTheRealEditor) {
    MakeView();
    doc->widthByNumber[kF23] = 4;  // no catalogue parameter has two decimals in width 4
    struct Case { int number; const char* keys; Qt::Key end; const char* held; int number2; const char* shows; bool modified; std::size_t messages; };
    const Case cases[] = {
        {kC23, "1x-2.55", Qt::Key_Escape, "12.5", kF01, "5.0 = 50", false, 0},
        {kF23, "12", Qt::Key_Escape, "1", kF01, "5.0 = 50", false, 0},
        {kF01, "77", Qt::Key_Escape, "77", kF01, "5.0 = 50", false, 0},     // Escape changes nothing
        {kF01, "0", Qt::Key_Return, "0", kF01, "5.0 = 50", false, 1},       // out of range: the message, the old value
        {kF01, "12", Qt::Key_Return, "12", kF01, "12.0 = 120", true, 1},    // stored in the normal form
        {7, "150.5", Qt::Key_Tab, "150.5", 7, "150.50 = 15050", true, 1},   // Tab ends it too
    };
    for (const Case& c : cases) {
        app.busyFlag = c.messages;  // an edit ended by a busy command (a dialog opening) leaves its flag up
        EXPECT_EQ(Edit(c.number, c.keys, c.end), c.held) << c.keys;
        EXPECT_EQ(std::tuple(Shows(c.number2), doc->IsModified(), Grid().GetModified(RowOf(c.number2), 4),
                             prompts.shown.size(), app.busyFlag),
                  std::tuple(QString::fromLatin1(c.shows), c.modified, c.modified, c.messages, c.messages))
            << c.keys;
    }
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
    const QRect cell = g.visualRect(g.model()->index(RowOf(kF01) - 1, 4));
    EXPECT_EQ(QStringList({startWith([&] { QTest::keyClick(&g, Qt::Key_7); }),  // a digit replaces the text
                           startWith([&] { QTest::keyClick(&g, Qt::Key_Backspace); }),
                           startWith([&] { QTest::keyClick(&g, Qt::Key_A); }),  // opens, is not typed
                           startWith([&] { QTest::mouseDClick(g.viewport(), Qt::LeftButton, {}, cell.center()); })}),
              QStringList({"7|", "5.|", "5.0|5.0", "5.0|5.0"}));
    // Which settings open is decided in the core; the grid asks it, and shows it in the cursor.
    EXPECT_EQ(std::tuple(OpenEditor(53), OpenEditor(kF52), g.CellCursor(RowOf(kF52), 4)->shape(), g.CellCursor(RowOf(kF01), 4)->shape()),
              std::tuple(nullptr, nullptr, Qt::ForbiddenCursor, Qt::IBeamCursor));
}

// Posting and sending online edits are decided in the core and driven end to
// end in link_commands_test; here the range message and taking an edit back.
TEST_F(ViewTest, OnlineEditRangeAndRestore) {
    app.settings.onlineEdit = 1;
    app.linkedFlag = 1;
    MakeView();
    Edit(kF52, "15");
    EXPECT_EQ(std::pair(prompts.shown.size(), Setting(kF52)), std::pair(std::size_t{1}, QStringLiteral("0")));
    Edit(7, "60");  // an earlier modification stays when a later edit is taken back
    Edit(kF01, "7");
    view->RestoreOnlineEdit();
    EXPECT_EQ(std::tuple(Shows(kF01), Grid().GetModified(RowOf(kF01), 4), Shows(7), doc->IsModified()),
              std::tuple(QStringLiteral("5.0 = 50"), false, QStringLiteral("60.00 = 6000"), true));
}

TEST_F(ViewTest, OrdinaryDocumentShowsAll111Parameters) {
    const QPalette desktop = QApplication::palette();
    QPalette dark = desktop;  // light text on dark windows, for this test only
    dark.setColor(QPalette::Base, Qt::black);
    dark.setColor(QPalette::Text, Qt::white);
    QApplication::setPalette(dark);
    MakeView(7);
    CParamGrid& g = Grid();
    EXPECT_EQ(RowTexts(0) + RowTexts(RowOf(7)),
              (QStringList{"Description", "Code", "Range", "Default", "Setting",
                           "Frequency upper limit (Hz)", "F07", "1.00~200.00", "50.00/60.00", "50.00"}));
    // Version and fault are empty in a document made offline.
    EXPECT_EQ(QString::number(g.GetRowCount()) + g.GetItemText(56, 1) + g.GetItemText(111, 1) + Setting(53) + Setting(54),
              "112C00C55");
    // Black on white whatever the theme; defaults red, settings blue; only settings editable.
    EXPECT_EQ((std::array{g.GetItemFgColour(5, 0), g.GetItemBkColour(5, 0), g.GetItemFgColour(5, 3), g.GetItemFgColour(5, 4)}),
              (std::array{QColor(0, 0, 0), QColor(255, 255, 255), QColor(255, 0, 0), QColor(0, 0, 255)}));
    for (int c = 0; c < 5; ++c) EXPECT_EQ(g.IsCellEditable(5, c), c == 4) << c;
    QApplication::setPalette(desktop);
}

TEST_F(ViewTest, RefreshAfterAReadDropsARunningEdit) {
    app.linkedFlag = 1;
    MakeView(7);
    EXPECT_EQ(Setting(54), "0");  // made while linked
    Grid().SetFocusCell(RowOf(1), 4);
    QTest::keyClick(&Grid(), Qt::Key_9);
    ASSERT_TRUE(Grid().IsEditing());
    std::tie(doc->model, doc->values[0][1], doc->values[0][53]) = std::tuple(8, 123, 21);
    ASSERT_TRUE(doc->onRefreshView);
    doc->onRefreshView();
    // The edit is dropped, not stored over the read; F00's default follows the model, F44's is a 400 V model's.
    EXPECT_EQ(QStringList({QString::number(Grid().IsEditing()), Shows(1), Setting(53), Grid().GetItemText(1, 3),
                           Grid().GetItemText(RowOf(44), 3)}),
              QStringList({"0", "12.3 = 123", "2.1", "008", "440.0"}));
}

TEST_F(ViewTest, UnknownCompareModeIsShownReadOnly) {
    MakeView();
    doc->compareMode = 7;  // as a damaged compare file can carry
    view->OnInitialUpdate();
    EXPECT_EQ(std::tuple(Grid().GetRowCount(), Setting(1), OpenEditor(1)), std::tuple(112, QStringLiteral("5.0"), nullptr));
}

// Headers and rows per mode are pinned through the compare commands and kolt-cli;
// here what the view adds: a source's name read in the code page, the defaults
// in red and no cell editable.
TEST_F(ViewTest, CompareDocumentDecodesNamesShowsDefaultsInRedAndIsReadOnly) {
    std::tie(app.staging.compareMode, app.staging.present, app.staging.names) =
        std::tuple(3, std::array<std::int32_t, 3>{0, 1, 0}, std::array<std::string, 3>{"------", "M\xFCller.kpf", "------"});
    app.staging.values[1][1] = 100;  // everything else 0: most parameters differ
    MakeView(7);
    CParamGrid& g = Grid();
    EXPECT_EQ(RowTexts(0), (QStringList{"Description", "Code", "Default", "------", "M\xC3\xBCller.kpf", "------"}));
    ASSERT_GT(g.GetRowCount(), 2);
    EXPECT_EQ(std::pair(g.GetItemFgColour(1, 2), RowTexts(2).mid(1, 2)), std::pair(QColor(255, 0, 0), QStringList{"F01", "5.0"}));
    for (int r = 1; r < g.GetRowCount(); ++r)
        for (int col = 0; col < g.GetColumnCount(); ++col) EXPECT_FALSE(g.IsCellEditable(r, col)) << r << "," << col;
}

// Titles written on Windows (CP1252) show as text; an edited row goes back in the code page.
TEST(StationTitleDialog, ShowsLegacyTitlesAndWritesEditsInTheirCodePage) {
    StationTitles titles{};
    titles[0] = "F\xF6rderband";
    CStationTitleDialog dialog(titles, FieldCodec{"CP1252", true});
    const auto edit = [&](int row) { return dialog.findChild<QLineEdit*>(QStringLiteral("titleEdit%1").arg(row)); };
    EXPECT_EQ(edit(0)->text(), QString::fromUtf8("F\xC3\xB6rderband"));
    edit(1)->setText(QString::fromUtf8("J\xC3\xBCrgen"));
    EXPECT_EQ(std::pair(dialog.Titles()[0], dialog.Titles()[1]), std::pair(std::string("F\xF6rderband"), std::string("J\xFCrgen")));
}

}  // namespace
}  // namespace kolt::testing
