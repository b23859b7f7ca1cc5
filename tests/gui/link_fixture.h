// The main window with its link commands, talking to a virtual drive on a
// pseudo-terminal that COM1 resolves to. Messages go to a recording fake;
// dialogs are answered by the test through the helpers.
#pragma once

#include "dialogs_helpers.h"

#include "app/command_ids.h"
#include "app/marben_app.h"
#include "app/ui/main_frame.h"
#include "app/ui/qt_prompts.h"
#include "catalogue/catalogue.h"
#include "core/fake_prompts.h"
#include "document/doc_commands.h"
#include "document/marben_doc.h"
#include "link/ui/link_commands.h"
#include "link/ui/link_dialog.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"
#include "drive-sim/virtual_drive.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace kolt::testing {

class LinkGuiTest : public ::testing::Test {
protected:
    static constexpr int kModel = 5;

    CMarbenApp app;
    FakePrompts prompts;        // what the link procedures and the view show
    QtPrompts qtPrompts{app};   // the frame's own windows
    QTemporaryDir dir;
    std::unique_ptr<QSettings> store;
    std::unique_ptr<sim::VirtualDrive> drive;
    std::unique_ptr<CLinkCommands> link;
    std::unique_ptr<CMainFrame> frame;

    void TearDown() override {
        frame.reset();
        link.reset();  // closes the port when still linked
        if (drive) drive->Stop();
        unsetenv("KOLT_COM1");
    }

    void StartDrive(std::vector<int> stations, std::set<int> silent = {}) {
        sim::DriveSimOptions o;
        o.stations = std::move(stations);
        o.silent = std::move(silent);
        o.model = kModel;
        o.version = 12;
        drive = std::make_unique<sim::VirtualDrive>(o);
        ASSERT_TRUE(drive->Start()) << drive->Error();
        setenv("KOLT_COM1", drive->SlavePath().c_str(), 1);
    }

    // The frame as the program builds it, with or without the procedures'
    // messages going to the Qt windows.
    void MakeFrame(bool qtMessages = false) {
        app.installDir = dir.path().toStdString();
        app.settings.comPort = 1;
        store = std::make_unique<QSettings>(dir.filePath("recent.ini"), QSettings::IniFormat);
        link = std::make_unique<CLinkCommands>(app, qtMessages ? static_cast<IPrompts&>(qtPrompts)
                                                               : static_cast<IPrompts&>(prompts));
        ViewFactory views = [this](CMarbenDoc& doc, QWidget* parent) -> QWidget* {
            return new CMarbenView(&doc, &app, &prompts, parent);
        };
        frame = std::make_unique<CMainFrame>(app, qtPrompts, *store, link->WrapViewFactory(views));
        qtPrompts.SetParentWidget(frame.get());
        link->Install(*frame);
        frame->resize(1200, 800);
        frame->show();
    }

    CMarbenDoc* NewDocument() {
        PrepareFileNew(app, app.currentModel, true);
        return frame->ShowDocument(CreateNewDocument(app));
    }
    CMarbenView* View() { return qobject_cast<CMarbenView*>(frame->View()); }

    // Link through the dialog with "Single" and this station text.
    void LinkWithText(const QString& stations) {
        WhenModal<CLinkDialog>([stations](CLinkDialog* d) {
            d->findChild<QLineEdit*>("stationEdit")->setText(stations);
            QTest::mouseClick(d->findChild<QPushButton*>("linkButton"), Qt::LeftButton);
        });
        frame->RunCommand(cmd::kLink);
    }

    void ReadWith(int station, bool basic, bool advanced) {
        WhenModal<CReadParaDialog>([=](CReadParaDialog* d) {
            d->findChild<QComboBox*>("stationCombo")->setCurrentIndex(station - 1);
            auto* b = d->findChild<QCheckBox*>("basicCheck");
            auto* c = d->findChild<QCheckBox*>("advancedCheck");
            c->setChecked(true);
            b->setChecked(basic);
            c->setChecked(advanced);
            d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
        });
        frame->RunCommand(cmd::kRead);
    }

    void WriteTo(const QString& stations) {
        WhenModal<CWriteParaDialog>([stations](CWriteParaDialog* d) {
            d->findChild<QLineEdit*>("stationEdit")->setText(stations);
            d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
        });
        frame->RunCommand(cmd::kWrite);
    }

    QString Pane(int i) { return frame->StatusPane(i)->text(); }
    std::int32_t DocValue(int number) {
        return frame->Document()->values[0][static_cast<std::size_t>(SlotOfNumber(number))];
    }
    QString SettingCell(int number) {
        return View()->Grid()->GetItemText(View()->RowOfNumber(number), 4);
    }
    bool Shown(const std::string& text) {
        for (const auto& s : prompts.shown)
            if (s.text == text) return true;
        return false;
    }

    // Types `keys` into the setting of `number` and ends the edit with Enter.
    void EditSetting(int number, const char* keys) {
        CParamGrid& g = *View()->Grid();
        g.SetFocusCell(View()->RowOfNumber(number), 4);
        QTest::keyClick(&g, Qt::Key_Return);
        ASSERT_NE(g.Editor(), nullptr);
        QTest::keyClicks(g.Editor(), QString::fromLatin1(keys));
        QTest::keyClick(g.Editor(), Qt::Key_Return);
    }
};

}  // namespace kolt::testing
