// A parameter view over a fresh document, with a recording user.
#pragma once

#include "app/marben_app.h"
#include "catalogue/catalogue.h"
#include "core/fake_prompts.h"
#include "document/marben_doc.h"
#include "grid/ui/in_place_edit.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kolt::testing {

// Keeps the busy flag as it was while each message was up.
class BusyWatchingPrompts : public FakePrompts {
public:
    explicit BusyWatchingPrompts(const CMarbenApp& app) : app_(app) {}
    std::vector<int> busyDuringMessage;
    void Message(const std::string& t, const std::string& c, Icon i) override {
        busyDuringMessage.push_back(app_.busyFlag);
        FakePrompts::Message(t, c, i);
    }

private:
    const CMarbenApp& app_;
};

class ViewTest : public ::testing::Test {
protected:
    CMarbenApp app;
    BusyWatchingPrompts prompts{app};
    std::unique_ptr<CMarbenDoc> doc;
    std::unique_ptr<CMarbenView> view;

    // A new parameter document of `model` and the view over it.
    void MakeView(int model = 7) {
        app.currentModel = model;
        doc = std::make_unique<CMarbenDoc>(app);
        doc->OnNewDocument();
        ShowView();
    }
    void ShowView() {
        view = std::make_unique<CMarbenView>(doc.get(), &app, &prompts);
        view->resize(900, 500);
        view->show();
    }
    CParamGrid& Grid() { return *view->Grid(); }
    static int RowOf(int number) { return SlotOfNumber(number) + 1; }
    QString Setting(int number) { return Grid().GetItemText(RowOf(number), 4); }
    std::int32_t DocValue(int number) { return doc->values[0][static_cast<std::size_t>(SlotOfNumber(number))]; }

    // Opens the editor on a setting with Enter; nullptr when the grid refuses.
    CInPlaceEdit* OpenEditor(int number) {
        Grid().SetFocusCell(RowOf(number), 4);
        QTest::keyClick(&Grid(), Qt::Key_Return);
        return Grid().Editor();
    }
    // Types `keys` into a fresh editor on `number` and returns what the editor holds.
    QString TypeInto(int number, const char* keys) {
        CInPlaceEdit* ed = OpenEditor(number);
        if (!ed) return QStringLiteral("<no editor>");
        QTest::keyClicks(ed, QString::fromLatin1(keys));
        return ed->text();
    }
    // Opens the editor, types `keys` and ends the edit with `endKey`.
    void Edit(int number, const char* keys, Qt::Key endKey = Qt::Key_Return) {
        CInPlaceEdit* ed = OpenEditor(number);
        ASSERT_NE(ed, nullptr) << "no editor on " << CodeText(number);
        QTest::keyClicks(ed, QString::fromLatin1(keys));
        QTest::keyClick(ed, endKey);
        EXPECT_FALSE(Grid().IsEditing());
    }
};

}  // namespace kolt::testing
