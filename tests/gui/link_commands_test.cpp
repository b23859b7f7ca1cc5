// The link commands end to end: the main window talks to a virtual drive on a
// pseudo-terminal that COM1 resolves to. Link, Read, Write and online edit;
// messages go to a recording fake, dialogs are answered through the helpers.
#include "catalogue/catalogue.h"
#include "catalogue/models.h"
#include "core/fake_prompts.h"
#include "document/marben_doc.h"
#include "drive-sim/virtual_drive.h"
#include "frame_fixture.h"
#include "app/ui/link_commands.h"
#include "link/ui/link_dialog.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"
#include "view/ui/marben_view.h"
#include "view/ui/param_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>

#include <cstdlib>

namespace kolt::testing {
namespace {

constexpr int kF01 = 1;    // 0.1~999.0 s
constexpr int kF02 = 2;
constexpr int kF07 = 7;    // frequency upper limit, 1.00~200.00 Hz
constexpr int kF52 = 52;   // factory default
constexpr int kC10 = 110;  // 0~1
const std::string kSaveQuestion = "yesno|KOLT Quendal 1.2|The file has been modified!\nDo you want to save file?\n\n";

// The frame and its own windows come from the frame fixture, built once Start has the link.
class LinkGuiTest : public FrameTest {
protected:
    static constexpr int kModel = 5;

    FakePrompts fake;  // what the link procedures and the view show
    std::unique_ptr<sim::VirtualDrive> drive;
    std::unique_ptr<CLinkCommands> link;

    void SetUp() override {}
    void TearDown() override {
        frame.reset();
        link.reset();  // closes the port when still linked
        if (drive) drive->Stop();
        unsetenv("KOLT_COM1");
    }

    // The virtual drive (answering at once, not paced) and the frame as the
    // program builds it, with or without the procedures' messages in Qt windows.
    void Start(std::vector<int> stations, std::set<int> silent = {}, bool qtMessages = false) {
        sim::DriveSimOptions o;
        o.stations = std::move(stations);
        o.silent = std::move(silent);
        o.model = kModel;
        o.version = 12;
        o.baud = 0;
        drive = std::make_unique<sim::VirtualDrive>(o);
        ASSERT_TRUE(drive->Start()) << drive->Error();
        setenv("KOLT_COM1", drive->SlavePath().c_str(), 1);

        app.settings.comPort = 1;
        link = std::make_unique<CLinkCommands>(app, qtMessages ? static_cast<IPrompts&>(prompts)
                                                               : static_cast<IPrompts&>(fake));
        ViewFactory views = [this](CMarbenDoc& doc, QWidget* parent) -> QWidget* {
            return new CMarbenView(&doc, &app, &fake, parent);
        };
        MakeFrame(link->WrapViewFactory(views));
        link->Install(*frame);
        frame->resize(1200, 800);
        frame->show();
    }

    CMarbenDoc* NewDocument() {
        PrepareFileNew(app, app.currentModel, true);
        CMarbenDoc* doc = frame->ShowDocument(CreateNewDocument(app));
        EXPECT_NE(doc, nullptr);
        return doc;
    }
    CMarbenView* View() { return qobject_cast<CMarbenView*>(frame->View()); }

    // Link through the dialog with "Single" and this station text.
    void LinkWithText(const QString& stations) {
        WhenModal<CLinkDialog>([stations](CLinkDialog* d) {
            d->findChild<QLineEdit*>("stationEdit")->setText(stations);
            d->findChild<QPushButton*>("linkButton")->click();
        });
        frame->RunCommand(cmd::kLink);
    }
    static void PressOk(QDialog* d) {
        d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    }
    // Read through the dialog from `station`, both groups or only the advanced one.
    void ReadWith(int station, bool basicToo = true) {
        WhenModal<CReadParaDialog>([=](CReadParaDialog* d) {
            d->findChild<QComboBox*>("stationCombo")->setCurrentIndex(station - 1);
            if (!basicToo) d->findChild<QCheckBox*>("basicCheck")->click();
            PressOk(d);
        });
        frame->RunCommand(cmd::kRead);
    }
    void WriteTo(const QString& stations) {
        WhenModal<CWriteParaDialog>([stations](CWriteParaDialog* d) {
            d->findChild<QLineEdit*>("stationEdit")->setText(stations);
            PressOk(d);
        });
        frame->RunCommand(cmd::kWrite);
    }

    // Every message shown so far, one "kind|caption|text" line each.
    std::string Messages() {
        std::string out;
        for (const Shown& m : fake.shown) out += m.kind + "|" + m.caption + "|" + m.text + "\n";
        return out;
    }
    QString Panes() { return frame->StatusPane(1)->text() + "|" + frame->StatusPane(2)->text(); }
    std::int32_t DocValue(int number) {
        return frame->Document()->values[0][static_cast<std::size_t>(SlotOfNumber(number))];
    }
    // The cell's text and the document's value together, as "12.0 = 120".
    QString Shows(int number) {
        return View()->Grid()->GetItemText(View()->RowOfNumber(number), 4) + " = " + QString::number(DocValue(number));
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

TEST_F(LinkGuiTest, LinksOneStationStoresTheLineAndUnlinks) {
    Start({1});
    app.settings.baudRate = 9600;
    // COM1 names the device it resolves to; Default puts the line back to 38400.
    QString com1;
    WhenModal<CLinkDialog>([&com1](CLinkDialog* d) {
        com1 = d->findChild<QComboBox*>("comPortCombo")->itemText(0);
        d->findChild<QPushButton*>("defaultButton")->click();
    });
    LinkWithText("1");
    EXPECT_TRUE(com1.contains(QString::fromStdString(drive->SlavePath()))) << com1.toStdString();
    EXPECT_EQ(Messages(), "");
    EXPECT_EQ(app.linkedFlag, 1);
    EXPECT_EQ(app.settings.baudRate, 38400);
    EXPECT_EQ(Panes() + "|" + frame->StatusPane(3)->text(),
              QString::fromStdString("Ver: 1.2|Linking  001|Model: " + ModelName(kModel)));

    // Close changes nothing; Unlink closes the port.
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("closeButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_TRUE(link->Port().IsOpen());
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("unlinkButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_FALSE(link->Port().IsOpen());
    EXPECT_EQ(Panes(), "Ver: x.x|No station linked");
}

TEST_F(LinkGuiTest, ScanSkipsASilentFirstStationThenReadsIntoANewDocument) {
    Start({2, 7});
    drive->SetParamValue(2, kF01, 123);
    drive->SetParamValue(2, kC10, 1);
    LinkWithText("4,7,9");
    EXPECT_EQ(Messages(), "");
    EXPECT_TRUE(fake.progressCancellable);
    EXPECT_EQ(fake.progressTexts, (std::vector<std::string>{"Station_004 ... ... ...", "Station_007 ... ... ..."}));
    EXPECT_EQ(fake.progressCloses, 1);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(Panes(), "Ver: 1.2|Linking  007");

    fake.progressTexts.clear();
    ReadWith(2);
    EXPECT_EQ(Messages(), "");
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(Shows(kF01), "12.3 = 123");
    EXPECT_EQ(Shows(kC10), "1 = 1");
    EXPECT_EQ(Panes(), "Ver: 1.2|Linking  002");  // the station read becomes the current one
    EXPECT_EQ(fake.progressTexts.front(), "Read Inverter Function Parameter...F00");
    EXPECT_EQ(fake.progressTexts.back(), "Read Inverter Function Parameter...C55");
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(LinkGuiTest, CancelStopsTheScanWhileItRuns) {
    Start({30}, {}, /*qtMessages=*/true);
    bool scanning = false, linkDisabled = false;
    // The window may be up a moment before the scan flag is: wait for both.
    WhenModalMatches([&](QWidget* w) { return w->objectName() == "progressWindow" && app.scanFlag != 0; },
                     [&](QWidget* w) {
        scanning = true;
        frame->UpdateCommandUi();
        linkDisabled = !frame->Action(cmd::kLink)->isEnabled();
        w->findChild<QPushButton*>("progressCancel")->click();
    }, "the scan's progress window");
    LinkWithText("1-30");
    EXPECT_TRUE(scanning);
    EXPECT_TRUE(linkDisabled);
    EXPECT_EQ(app.scanFlag, 0);
    EXPECT_EQ(app.linkedFlag, 0);
    EXPECT_FALSE(link->Port().IsOpen());
    EXPECT_EQ(drive->RequestsForUs(), 0);  // never reached the one station that would answer
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(LinkGuiTest, ReadIntoTheOpenDocumentTakesOnlyTheChosenGroup) {
    Start({1});
    drive->SetParamValue(1, kF01, 321);
    drive->SetParamValue(1, kC10, 1);
    LinkWithText("1");
    CMarbenDoc* doc = NewDocument();
    EditSetting(kF02, "7");  // modified: the Yes/No save question comes first
    ASSERT_TRUE(doc->IsModified());
    fake.yesNoAnswers = {false};
    ReadWith(1, /*basicToo=*/false);
    EXPECT_EQ(Messages(), kSaveQuestion);
    EXPECT_EQ(frame->Document(), doc);  // the same document, refilled
    EXPECT_EQ(Shows(kC10), "1 = 1");
    for (int n : {kF01, kF02})  // the basic group takes the defaults
        EXPECT_EQ(DocValue(n), doc->defaults[static_cast<std::size_t>(SlotOfNumber(n))]) << n;
    EXPECT_EQ(fake.progressTexts.front(), "Read Inverter Function Parameter...C00");

    // A read that times out leaves the document as it was, and the link.
    const auto before = doc->values[0];
    drive->SetSilent(1, true);
    fake.shown.clear();
    fake.yesNoAnswers = {false};
    ReadWith(1);
    EXPECT_EQ(Messages(), kSaveQuestion + "comm|Communication Message|TIME-OUT !!\n");
    EXPECT_EQ(doc->values[0], before);
    EXPECT_EQ(app.linkedFlag, 1);
}

TEST_F(LinkGuiTest, WritePastASilentStationContinuesOrAborts) {
    Start({1, 2, 3}, {2});
    LinkWithText("1");
    CMarbenDoc* doc = NewDocument();
    // Continue: 25.0 s reaches stations 1 and 3. Abort: 30.0 s reaches only station 1.
    for (const auto& [keys, value, proceed, panes] :
         {std::tuple{"25", 250, true, "Ver: 1.2|Linking  003"}, {"30", 300, false, "Ver: 1.2|Linking  002"}}) {
        SCOPED_TRACE(proceed ? "Continue" : "Abort");
        EditSetting(kF01, keys);
        const auto settingsBefore = doc->values[0];
        fake.shown.clear();
        fake.continueAnswers = {proceed};
        WriteTo("1-3");
        EXPECT_EQ(Messages(), "continue|Write Message|Communication Error !!\nContinue to Next Station ?\n");
        EXPECT_EQ(drive->ParamValue(1, kF01), value);
        EXPECT_NE(drive->ParamValue(2, kF01), value);
        EXPECT_EQ(drive->ParamValue(3, kF01) == value, proceed);
        EXPECT_EQ(Panes(), panes);
        EXPECT_EQ(doc->values[0], settingsBefore);  // the command never changes the document
        EXPECT_FALSE(fake.progressOpen);
        EXPECT_TRUE(link->Port().IsOpen());
        if (proceed) {  // the last station ran to the end
            EXPECT_EQ(fake.progressTexts.back(), "Write Inverter Function Parameter To Module...C47");
        }
    }
}

TEST_F(LinkGuiTest, OnlineEditEndToEnd) {
    Start({1});
    app.settings.onlineEdit = 1;
    LinkWithText("1");
    ASSERT_EQ(app.linkedFlag, 1);
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(false);
    // The write runs from the event loop after the edit has ended.
    const auto editAndWait = [&](int number, const char* keys) {
        fake.shown.clear();
        EditSetting(number, keys);
        EXPECT_EQ(Messages(), "") << "nothing may be sent inside the edit";
        EXPECT_TRUE(QTest::qWaitFor([&] { return !fake.shown.empty(); }, 5000));
    };

    editAndWait(kF01, "12");
    EXPECT_EQ(Messages(), "message|Write Message|Write Parameter Successfully !!\n");
    EXPECT_EQ(drive->ParamValue(1, kF01), 120);
    EXPECT_EQ(Shows(kF01), "12.0 = 120");
    EXPECT_EQ(app.busyFlag, 0);

    // A document that allows more than the drive does: 250 Hz passes the grid,
    // the drive refuses it and the edit goes back.
    doc->SetModifiedFlag(false);
    doc->maxBySlot[static_cast<std::size_t>(SlotOfNumber(kF07))] = 30000;
    doc->maxByNumber[kF07] = 30000;
    const QString before = Shows(kF07);
    editAndWait(kF07, "250");
    EXPECT_EQ(Messages(), "message|Error Message|Data Over Range !\n");
    EXPECT_EQ(Shows(kF07), before);
    EXPECT_NE(drive->ParamValue(1, kF07), 25000);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(app.linkedFlag, 1);

    // The reset question answered No: nothing is sent and the edit goes back.
    const long framesBefore = drive->FramesSeen();
    fake.yesNoAnswers = {false};
    editAndWait(kF52, "10");
    EXPECT_EQ(Messages(), "yesno|Write Message|Code: F52\nReset to factory default (50 Hz)?\n");
    EXPECT_EQ(drive->FramesSeen(), framesBefore);
    EXPECT_EQ(Shows(kF52), "0 = 0");
}

}  // namespace
}  // namespace kolt::testing
