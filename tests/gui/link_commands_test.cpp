// The link commands end to end through the main window and its dialogs: Link,
// Read, Write and online edit against the virtual drive. The procedures' rules
// are the core link tests'; here, that the window wires them.
#include "drive_frame_fixture.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"
#include "document/doc_file.h"

#include <QThread>
#include <QTimer>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>

#include <atomic>
#include <chrono>
#include <thread>

namespace kolt::testing {
namespace {

constexpr int kF01 = 1;    // 0.1~999.0 s
constexpr int kF02 = 2;
constexpr int kC10 = 110;  // 0~1
const std::string kSaveQuestion = "yesno|KOLT Quendal 1.2|The file has been modified!\nDo you want to save file?\n\n";

class LinkGuiTest : public DriveFrameTest {
protected:
    // The drive and the frame, with or without the procedures' messages in Qt windows.
    void Start(std::vector<int> stations, bool qtMessages = false) {
        StartDrive(std::move(stations));
        MakeLinkedFrame(true, qtMessages ? &prompts : nullptr);
        frame->resize(1200, 800);
        frame->show();
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
    QString Panes() { return frame->StatusPane(1)->text() + "|" + frame->StatusPane(2)->text(); }

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

// The scan's skipping, the read's groups and the write's Continue are the core
// link tests'; here, that the dialogs' choices reach them and the panes follow.
TEST_F(LinkGuiTest, LinkReadWriteAndUnlink) {
    Start({1, 2});
    app.settings.baudRate = 9600;
    // COM1 names the device it resolves to; Default puts the line back to 38400.
    QString com1;
    WhenModal<CLinkDialog>([&com1](CLinkDialog* d) {
        com1 = d->findChild<QComboBox*>("comPortCombo")->itemText(0);
        d->findChild<QPushButton*>("defaultButton")->click();
    });
    LinkWithText("1");
    EXPECT_TRUE(com1.contains(QString::fromStdString(drive->SlavePath()))) << com1.toStdString();
    EXPECT_EQ(std::tuple(Messages(), app.linkedFlag, app.settings.baudRate), std::tuple("", 1, 38400));
    EXPECT_EQ(Panes() + "|" + frame->StatusPane(3)->text(), "Ver: 1.2|Linking  001|Model: D200-0.75");

    // Read with no document open: a new one; the station read becomes the current one.
    for (int s : {1, 2}) drive->SetParamValue(s, kF01, 100 + s);
    drive->SetParamValue(1, kC10, 1);
    ReadWith(2);
    ASSERT_NE(View(), nullptr);
    EXPECT_EQ(std::tuple(Messages(), Shows(kF01), Panes()), std::tuple("", "10.2 = 102", "Ver: 1.2|Linking  002"));

    // Into the open, modified document: the Yes/No save question first, then
    // only the group chosen in the dialog; the basic group takes the defaults.
    CMarbenDoc* doc = frame->Document();
    EditSetting(kF02, "7");
    ASSERT_TRUE(doc->IsModified());
    fake.yesNoAnswers = {false};
    ReadWith(1, /*basicToo=*/false);
    EXPECT_EQ(std::tuple(Messages(), frame->Document(), Shows(kC10)), std::tuple(kSaveQuestion, doc, "1 = 1"));
    for (int n : {kF01, kF02}) EXPECT_EQ(DocValue(n), doc->defaults[static_cast<std::size_t>(SlotOfNumber(n))]) << n;

    // Write the stations the dialog names; the document stays as it was.
    EditSetting(kF01, "25");
    const auto settingsBefore = doc->values[0];
    fake.shown.clear();
    WhenModal<CWriteParaDialog>([](CWriteParaDialog* d) {
        d->findChild<QLineEdit*>("stationEdit")->setText("1-2");
        PressOk(d);
    });
    frame->RunCommand(cmd::kWrite);
    EXPECT_EQ(std::tuple(Messages(), drive->ParamValue(1, kF01), drive->ParamValue(2, kF01), Panes(), fake.progressOpen),
              std::tuple("", 250, 250, "Ver: 1.2|Linking  002", false));
    EXPECT_EQ(doc->values[0], settingsBefore);

    // Online edit writes to the current station from the event loop, once the
    // edit has ended. A refused write taken back is the core and view tests'.
    app.settings.onlineEdit = 1;
    EditSetting(kF01, "12");
    EXPECT_EQ(Messages(), "") << "nothing may be sent inside the edit";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fake.shown.empty(); }, 5000));
    EXPECT_EQ(Messages(), "message|Write Message|Write Parameter Successfully !!\n");
    EXPECT_EQ(std::tuple(drive->ParamValue(2, kF01), Shows(kF01), app.busyFlag), std::tuple(120, "12.0 = 120", 0));

    // Close changes nothing; Unlink closes the port.
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("closeButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_TRUE(link->Port().IsOpen());
    WhenModal<CLinkDialog>([](CLinkDialog* d) { d->findChild<QPushButton*>("unlinkButton")->click(); });
    frame->RunCommand(cmd::kLink);
    EXPECT_EQ(std::tuple(app.linkedFlag, link->Port().IsOpen(), Panes()), std::tuple(0, false, "Ver: x.x|No station linked"));
}

// The bus thread: the window's thread waits for it in its event loop, so a
// cancel and a close reach a procedure while it waits on the line.

// Runs `then` once `ready` holds, checking from the window's event loop
// (for as long as `owner` lives).
void When(QObject* owner, std::function<bool()> ready, std::function<void()> then) {
    auto* timer = new QTimer(owner);
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (!ready()) return;
        timer->stop();
        timer->deleteLater();
        then();
    });
    timer->start();
}

// Cancel while the first echo is awaited: Link is greyed while the scan runs,
// and the echo waited on is the last frame sent.
TEST_F(LinkGuiTest, CancelDuringAnEchoEndsTheScanThere) {
    Start({30}, /*qtMessages=*/true);
    bool linkDisabled = false;
    WhenModalMatches([&](QWidget* w) { return w->objectName() == "progressWindow" && drive->FramesSeen() >= 1; },
                     [&](QWidget* w) {
        frame->UpdateCommandUi();
        linkDisabled = app.scanFlag != 0 && !frame->Action(cmd::kLink)->isEnabled();
        w->findChild<QPushButton*>("progressCancel")->click();
    }, "the scan's progress window");
    LinkWithText("1-30");
    EXPECT_TRUE(linkDisabled);
    EXPECT_EQ(std::tuple(drive->FramesSeen(), drive->RequestsForUs(), app.scanFlag, app.linkedFlag, app.busyFlag,
                         link->Port().IsOpen(), QApplication::activeModalWidget()),
              std::tuple(1, 0, 0, 0, 0, false, nullptr));
}

TEST_F(LinkGuiTest, AReadCancelledHalfwayLeavesTheDocumentByteIdentical) {
    Start({1});
    LinkWithText("1");
    CMarbenDoc* doc = NewDocument();
    doc->SetModifiedFlag(false);
    const std::string before = EncodeDocFile(ImageOfDocument(*doc));
    drive->SetParamValue(1, kF01, 321);
    drive->SetDelayMs(3);
    When(frame.get(), [&] { return drive->RequestsForUs() >= 40; }, [&] { link->Bus().Cancel(); });
    fake.shown.clear();
    ReadWith(1);
    EXPECT_LT(drive->RequestsForUs(), 60);
    EXPECT_EQ(std::tuple(Messages(), frame->Document(), EncodeDocFile(ImageOfDocument(*doc)), doc->IsModified(),
                         app.busyFlag, app.linkedFlag),
              std::tuple("comm|Communication Message|TIME-OUT !!\n", doc, before, false, 0, 1));
}

TEST_F(LinkGuiTest, ExitDuringAReadOfASilentStationEndsAtOnce) {
    Start({1});
    LinkWithText("1");
    NewDocument()->SetModifiedFlag(false);
    drive->SetSilent(1, true);
    const long heard = drive->FramesSeen();
    When(frame.get(), [&] { return drive->FramesSeen() > heard; }, [&] { frame->RunCommand(cmd::kAppExit); });
    fake.shown.clear();
    ReadWith(1);
    // Nothing more is shown or sent once the window has gone.
    EXPECT_EQ(std::tuple(frame->isVisible(), Messages(), drive->FramesSeen(), app.busyFlag),
              std::tuple(false, "", heard + 1, 0));
}

// Answers on whatever thread asks, and notes which one that was.
struct ThreadNotingPrompts : FakePrompts {
    QThread* askedOn = nullptr;
    bool YesNo(const std::string& t, const std::string& c, Icon i) override {
        askedOn = QThread::currentThread();
        return FakePrompts::YesNo(t, c, i);
    }
};

TEST_F(LinkGuiTest, APromptFromTheBusIsAnsweredOnTheWindowThread) {
    ThreadNotingPrompts noting;
    noting.yesNoAnswers = {false};
    CLinkCommands commands(app, noting);
    QThread* ranOn = nullptr;
    bool answer = true;
    EXPECT_TRUE(commands.RunOnBus([&](LinkContext& ctx) {
        ranOn = QThread::currentThread();
        answer = ctx.prompts.YesNo("Go on?", "Question", Icon::None);
    }));
    EXPECT_NE(ranOn, QThread::currentThread());
    EXPECT_EQ(std::tuple(noting.askedOn, answer, noting.Texts()),
              std::tuple(QThread::currentThread(), false, std::vector<std::string>{"Go on?"}));
}

// A click while a bus job runs with no modal window up (an online write) is
// held back and delivered once the job has ended, never lost.
TEST_F(LinkGuiTest, AClickDuringABusJobArrivesWhenItEnds) {
    CLinkCommands commands(app, fake);
    QPushButton button("RUN");
    button.show();
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    std::atomic<bool> clicked{false};
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(&button, Qt::LeftButton);
        clicked = true;
    });
    commands.RunOnPort([&] {
        while (!clicked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clicks == 1; }, 5000));
}

}  // namespace
}  // namespace kolt::testing
