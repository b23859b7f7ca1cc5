// A linked bench for the link procedures: the virtual drive on a pseudo-
// terminal, one port, the recording prompts and a document host in memory.
#pragma once

#include "base/document_host.h"
#include "base/marben_app.h"
#include "document/doc_commands.h"
#include "document/marben_doc.h"
#include "fake_prompts.h"
#include "link/link_context.h"
#include "link/link_procedure.h"
#include "link/modbus_port.h"
#include "drive-sim/virtual_drive.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace kolt::testing {

class FakeDocumentHost : public IDocumentHost {
public:
    explicit FakeDocumentHost(CMarbenApp& app) : app_(app) {}

    std::unique_ptr<CMarbenDoc> doc;
    bool printPreview = false;
    int closes = 0, creations = 0, statusRefreshes = 0, monitorCloses = 0;

    CMarbenDoc* ActiveDocument() override { return doc.get(); }
    bool InPrintPreview() override { return printPreview; }
    void CloseActiveDocument() override {
        ++closes;
        doc.reset();
        printPreview = false;
    }
    CMarbenDoc* CreateNewDocument() override {
        ++creations;
        doc = kolt::CreateNewDocument(app_);
        return doc.get();
    }
    void RefreshStatusPanes() override { ++statusRefreshes; }
    void CloseMonitorWindows() override { ++monitorCloses; }

private:
    CMarbenApp& app_;
};

// Stations answer at once (no baud pacing) to keep the tests quick; a silent
// station still costs the port's 400 ms read time-out per call.
inline sim::DriveSimOptions QuickDrive(std::vector<int> stations, int model = 3) {
    sim::DriveSimOptions o;
    o.stations = std::move(stations);
    o.model = model;
    o.version = 12;
    o.baud = 0;
    return o;
}

class LinkBench : public ::testing::Test {
protected:
    void StartDrive(const sim::DriveSimOptions& options) {
        drive = std::make_unique<sim::VirtualDrive>(options);
        ASSERT_TRUE(drive->Start()) << drive->Error();
        ::setenv("KOLT_COM1", drive->SlavePath().c_str(), 1);
    }
    void TearDown() override {
        if (port.IsOpen()) port.Close();
        if (drive) drive->Stop();
        ::unsetenv("KOLT_COM1");
    }

    static LinkRequest LinkTo(std::vector<int> stations, LinkButton button = LinkButton::Link) {
        LinkRequest r;
        r.button = button;
        r.line.comPort = 1;
        r.stations = std::move(stations);
        return r;
    }

    // Links one station and forgets what that showed.
    void LinkStation(int station) {
        ASSERT_EQ(RunLinkCommand(ctx, LinkTo({station})), LinkOutcome::Linked);
        prompts.shown.clear();
        prompts.progressTexts.clear();
    }

    // A new parameter document as File New makes it for the app's model.
    CMarbenDoc& OpenNewDocument() {
        host.CreateNewDocument();
        host.doc->SetModifiedFlag(false);
        return *host.doc;
    }

    std::unique_ptr<sim::VirtualDrive> drive;
    CMarbenApp app;
    FakePrompts prompts;
    CModbusPort port{&prompts};
    FakeDocumentHost host{app};
    LinkContext ctx{app, port, prompts, host};
};

inline std::int32_t Setting(const CMarbenDoc& doc, int slot) { return doc.values[0][static_cast<std::size_t>(slot)]; }

using Texts = std::vector<std::string>;

// Every message shown as "caption: text".
inline Texts Boxes(const FakePrompts& prompts) {
    Texts out;
    for (const Shown& s : prompts.shown) out.push_back(s.caption + ": " + s.text);
    return out;
}

}  // namespace kolt::testing
