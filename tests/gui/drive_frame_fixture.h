// The main frame as the program builds it with its link commands, talking to a
// virtual drive on a pseudo-terminal that COM1 resolves to. What the link
// procedures and the views show goes to a recording fake.
#pragma once

#include "app/ui/link_commands.h"
#include "catalogue/catalogue.h"
#include "core/fake_prompts.h"
#include "drive-sim/virtual_drive.h"
#include "frame_fixture.h"
#include "link/ui/link_dialog.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QPushButton>

#include <cstdlib>
#include <set>
#include <vector>

namespace kolt::testing {

class DriveFrameTest : public FrameTest {
protected:
    FakePrompts fake;
    std::unique_ptr<sim::VirtualDrive> drive;
    std::unique_ptr<CLinkCommands> link;

    void SetUp() override {}
    void TearDown() override {
        frame.reset();
        link.reset();  // closes the port when still linked
        if (drive) drive->Stop();
        unsetenv("KOLT_COM1");
    }

    // The drive (model 5, version 1.2, answering at once, not paced).
    void StartDrive(std::vector<int> stations, std::set<int> silent = {}) {
        sim::DriveSimOptions o;
        o.stations = std::move(stations);
        o.silent = std::move(silent);
        o.model = 5;
        o.version = 12;
        o.baud = 0;
        drive = std::make_unique<sim::VirtualDrive>(o);
        ASSERT_TRUE(drive->Start()) << drive->Error();
        setenv("KOLT_COM1", drive->SlavePath().c_str(), 1);
    }
    // The frame on COM1 with the link commands installed; the procedures'
    // messages go to the fake, or to Qt windows with `linkPrompts`.
    void MakeLinkedFrame(bool views = true, IPrompts* linkPrompts = nullptr) {
        app.settings.comPort = 1;
        link = std::make_unique<CLinkCommands>(app, linkPrompts ? *linkPrompts : static_cast<IPrompts&>(fake));
        MakeFrame(views ? link->WrapViewFactory(FakeViews()) : ViewFactory{});
        link->Install(*frame);
    }
    ViewFactory FakeViews() {
        return [this](CMarbenDoc& doc, QWidget* parent) -> QWidget* {
            return new CMarbenView(&doc, &app, &fake, parent);
        };
    }

    // Link through the dialog with "Single" and this station text.
    void LinkWithText(const QString& stations) {
        WhenModal<CLinkDialog>([stations](CLinkDialog* d) {
            d->findChild<QLineEdit*>("stationEdit")->setText(stations);
            d->findChild<QPushButton*>("linkButton")->click();
        });
        frame->RunCommand(cmd::kLink);
    }

    CMarbenView* View() { return qobject_cast<CMarbenView*>(frame->View()); }
    // Every message shown so far, one "kind|caption|text" line each.
    std::string Messages() {
        std::string out;
        for (const Shown& m : fake.shown) out += m.kind + "|" + m.caption + "|" + m.text + "\n";
        return out;
    }
    std::int32_t DocValue(int number) {
        return frame->Document()->values[0][static_cast<std::size_t>(SlotOfNumber(number))];
    }
    // The cell's text and the document's value together, as "12.0 = 120".
    QString Shows(int number) {
        return View()->Grid()->GetItemText(View()->RowOfNumber(number), 4) + " = " + QString::number(DocValue(number));
    }
};

}  // namespace kolt::testing
