// The main frame's rules without the window: which commands the state allows,
// when the timer polls, and the status pane texts. Command ids and texts are
// written out as the program's documentation gives them.
#include "app/frame_state.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace kolt {
namespace {

constexpr int kRead = 32780, kInverterWithDefault = 32775, kLink = 32779, kWrite = 32796,
              kPrintTitleSet = 32778, kOnlineEdit = 32783, kFileSave = 57603, kFileClose = 57602;

struct State {
    int linked, busy, scan, monitoring;
};

CMarbenApp AppIn(const State& s) {
    CMarbenApp app;
    app.linkedFlag = static_cast<std::uint8_t>(s.linked);
    app.busyFlag = static_cast<std::uint8_t>(s.busy);
    app.scanFlag = static_cast<std::uint8_t>(s.scan);
    app.monitoringFlag = static_cast<std::uint8_t>(s.monitoring);
    return app;
}

TEST(FrameRules, CommandsFollowTheFlagsAndTheDocument) {
    const int ids[] = {kLink, kRead, kInverterWithDefault, kWrite, kFileSave, kFileClose, kPrintTitleSet, kOnlineEdit};
    const FrameFacts none, doc{true, 0, true, false};
    struct Row { const char* name; State state; FrameFacts facts; const char* expected; /* in the order of `ids` */ } const rows[] = {
        {"nothing linked", {0, 0, 0, 0}, none, "x------x"},
        {"linked", {1, 0, 0, 0}, none, "xxx----x"},
        {"linked, busy in a modal command", {1, 1, 0, 0}, none, "x-x----x"},
        {"linked, scanning", {1, 0, 1, 0}, none, "-x-----x"},
        {"linked, monitoring", {1, 0, 0, 1}, none, "xx-----x"},
        {"linked with a parameter document", {1, 0, 0, 0}, doc, "xxxxxxxx"},
        {"document, busy", {1, 1, 0, 0}, doc, "x-xxxxxx"},
        {"document, monitoring", {1, 0, 0, 1}, doc, "xx--xxxx"},
        {"document, scanning", {1, 0, 1, 0}, doc, "-x--xxxx"},
        {"compare document", {1, 0, 0, 0}, {true, 2, true, false}, "xxx-xxxx"},
        {"inverter-with-default document", {1, 0, 0, 0}, {true, 1, true, false}, "xxx-xxxx"},
        {"document, not linked", {0, 0, 0, 0}, doc, "x---xxxx"},
        {"document in print preview", {0, 0, 0, 0}, {true, 0, true, true}, "x---xx-x"},
        {"document without a view", {1, 1, 1, 1}, {true, 0, false, false}, "----xx-x"},
    };
    for (const Row& r : rows) {
        const CMarbenApp app = AppIn(r.state);
        std::string got;
        for (int id : ids) got += CommandAllowed(id, app, r.facts) ? 'x' : '-';
        EXPECT_EQ(got, r.expected) << r.name;
    }
}

TEST(FrameRules, TheTimerPollsOnlyALinkedMonitoredStationWhenNothingIsBusy) {
    for (int linked : {0, 1})
        for (int busy : {0, 1})
            for (int monitoring : {0, 1})
                EXPECT_EQ(ShouldPoll(AppIn({linked, busy, 0, monitoring})), linked && !busy && monitoring)
                    << linked << busy << monitoring;
}

TEST(FrameRules, StatusPaneTexts) {
    using Panes = std::tuple<std::string, std::string, std::string, std::string>;
    const auto panes = [](const CMarbenApp& app, bool document) {
        const StatusTexts t = ComputeStatusTexts(app, document);
        return Panes{t.version, t.link, t.model, t.editMode};
    };
    CMarbenApp app;
    app.currentModel = 7;
    EXPECT_EQ(panes(app, false), (Panes{"Ver: x.x", "No station linked", "Model: xxxxxxxxxxx", "Offline Edit"}));
    EXPECT_EQ(panes(app, true), (Panes{"Ver: x.x", "No station linked", "Model: D200-2.2", "Offline Edit"}));
    // Linked at station 7 with version 12: the frame menus tests.
    std::tie(app.linkedFlag, app.settings.onlineEdit, app.currentStation, app.softwareVersion, app.currentModel) =
        std::tuple(1, 1, 254, 105, 11);  // 11: no model
    EXPECT_EQ(panes(app, true), (Panes{"Ver: 10.5", "Linking  254", "Model: xxxxxxxxxxx", "Online Edit"}));
    app.currentModel = 0;
    EXPECT_EQ(std::get<2>(panes(app, false)), "Model: S100-0.2");
}

}  // namespace
}  // namespace kolt
