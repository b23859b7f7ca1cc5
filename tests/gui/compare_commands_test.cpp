// The three compare commands through their real dialogs: the files are chosen
// through a recording fake (which also keeps the messages), the dialogs'
// buttons are pressed as a user would, and the compare document is read back
// from the grid. Inverter with Default talks to a virtual drive.
#include "app/ui/compare_commands.h"
#include "catalogue/models.h"
#include "core/document_test_support.h"
#include "document/ui/file_with_def_dialog.h"
#include "document/ui/file_with_file_dialog.h"
#include "drive_frame_fixture.h"
#include "link/ui/sel_station_dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <map>

namespace kolt::testing {
namespace {

const std::string kBadFormat = "Error: Open file failure!\n\nThe file format is not correctly!\n";
const std::string kCannotOpen = "File could not be opened!\n";
const std::string kSaveQuestion = "The file has been modified!\nDo you want to save file?\n";

class CompareGuiTest : public DriveFrameTest {
protected:
    std::unique_ptr<CCompareCommands> compare;

    // The frame as the program builds it, its messages going to the fake.
    void SetUp() override {
        MakeLinkedFrame();
        compare = std::make_unique<CCompareCommands>(app, fake, *link);
        compare->Install(*frame);
        frame->resize(1200, 800);
        frame->show();
    }
    void TearDown() override {
        frame.reset();
        compare.reset();
        DriveFrameTest::TearDown();
    }

    // A parameter file of `model` at 50 Hz (60 Hz when !hz50) holding its
    // factory defaults, `edits` (number -> stored value) over them.
    std::string ParamFile(const char* name, int model, bool hz50, std::map<int, std::int32_t> edits = {}) {
        SlotValues settings = DefaultSettings(model, hz50);
        for (auto [number, value] : edits) settings[static_cast<std::size_t>(SlotOfNumber(number))] = value;
        const std::string path = Path(name).toStdString();
        WriteBytes(path, ParameterFileBytes(AllInUse(), settings));
        return path;
    }

    static void Click(QWidget* d, const char* name) {
        QPushButton* b = d->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    // The dialog's title, its group boxes' titles and its labels, "," between.
    static QString Captions(QWidget* d) {
        QStringList out{d->windowTitle()};
        for (QGroupBox* g : d->findChildren<QGroupBox*>()) out << g->title();
        for (QLabel* l : d->findChildren<QLabel*>()) out << l->text();
        return out.join(',');
    }
    static QString PathField(QWidget* d, int k) {
        return d->findChild<QLineEdit*>(QStringLiteral("path%1").arg(k))->text();
    }

    // Runs `command`; `inDialog` works the dialog, which must have closed by itself.
    template <typename Dialog>
    void RunWithDialog(int command, std::function<void(Dialog*)> inDialog) {
        bool stillOpen = false;
        WhenModal<Dialog>([&](Dialog* d) {
            inDialog(d);
            stillOpen = d->isVisible();
            if (stillOpen) d->reject();
        });
        frame->RunCommand(command);
        EXPECT_FALSE(stillOpen) << "the dialog did not close";
    }

    // The grid, one "cell|cell|..." line per row, the header row first.
    QStringList Grid() {
        QStringList rows;
        auto* view = qobject_cast<CMarbenView*>(frame->View());
        if (!view) return rows;
        CParamGrid* g = view->Grid();
        for (int r = 0; r < g->GetRowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < g->GetColumnCount(); ++c) cells << g->GetItemText(r, c);
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
    void LinkStation(int station) {
        LinkWithText(QString::number(station));
        ASSERT_EQ(app.linkedFlag, 1) << Messages();
    }
    // Inverter with Default for `station` at "50 Hz" (index 0) or "60 Hz" (1).
    void CompareInverter(int station, int frequency) {
        RunWithDialog<CSelStationDialog>(cmd::kCompareInverterDefault, [=](CSelStationDialog* d) {
            d->findChild<QComboBox*>("stationCombo")->setCurrentIndex(station - 1);
            d->findChild<QComboBox*>("frequencyList")->setCurrentIndex(frequency);
            Click(d, "okButton");
        });
    }
};

TEST_F(CompareGuiTest, FileWithFileWaitsForTwoLoadsThenListsTheDifferingParameters) {
    const std::string a = ParamFile("a.kpf", 5, true, {{1, 125}, {102, 150}});
    const std::string b = ParamFile("b.kpf", 5, true, {{1, 300}, {7, 6000}, {102, 150}});
    std::string lower = ReadBytes(a);
    lower.replace(lower.find("Parameter"), 1, "p");
    const std::string lowerPath = Path("lower.kpf").toStdString();
    WriteBytes(lowerPath, lower);
    QStringList texts;
    RunWithDialog<CFileWithFileDialog>(cmd::kCompareFileFile, [&](CFileWithFileDialog* d) {
        texts << d->windowTitle() << d->findChild<QGroupBox*>()->title()
              << d->findChild<QPushButton*>("file1Button")->text() << d->findChild<QPushButton*>("file2Button")->text();
        EXPECT_TRUE(d->findChild<QLineEdit*>("path1")->isReadOnly());
        Click(d, "okButton");
        texts << (d->isVisible() ? "open" : "closed");
        // A refused file changes nothing in the dialog.
        fake.openPaths = {a, lowerPath, Path("missing.kpf").toStdString(), b};
        for (int i = 0; i < 3; ++i) {
            Click(d, "file1Button");
            texts << PathField(d, 1);
        }
        Click(d, "okButton");  // still one load only
        texts << (d->isVisible() ? "open" : "closed");
        Click(d, "file2Button");
        texts << PathField(d, 2);
        Click(d, "okButton");
    });
    const QString qa = QString::fromStdString(a);
    EXPECT_EQ(texts, (QStringList{"Compare File with File", "Select Files", "File&1...", "File&2...", "open", qa, qa,
                                  qa, "open", QString::fromStdString(b)}));
    EXPECT_EQ(Messages(), "message|Open\n|" + kBadFormat + "\nmessage|Open\n|" + kCannotOpen + "\n");
    ASSERT_NE(frame->Document(), nullptr);
    EXPECT_EQ(frame->Document()->compareMode, 2);
    EXPECT_TRUE(frame->Document()->IsModified());
    EXPECT_EQ(Grid(), (QStringList{"Description|Code|a.kpf|b.kpf",
                                   "Acceleration time 1 (s)|F01|12.5|30.0",
                                   "Frequency upper limit (Hz)|F07|50.00|60.00"}));
    EXPECT_EQ(app.busyFlag, 0);
    EXPECT_FALSE(frame->Action(cmd::kWrite)->isEnabled());
}

TEST_F(CompareGuiTest, FilesWithDefaultOnlyFileTwoAtModel10And60Hz) {
    app.currentModel = 3;
    app.settings.hz50 = 1;
    const std::string b = ParamFile("b.kpf", 10, false, {{1, 75}, {146, 0}});
    QStringList shown;
    RunWithDialog<CFileWithDefDialog>(cmd::kCompareFilesDefault, [&](CFileWithDefDialog* d) {
        auto* models = d->findChild<QComboBox*>("modelList");
        auto* freqs = d->findChild<QComboBox*>("frequencyList");
        shown << Captions(d) << d->findChild<QPushButton*>("file3Button")->text()
              << QString::number(models->count()) << models->itemText(10) << models->currentText()
              << freqs->itemText(0) + "/" + freqs->itemText(1) << freqs->currentText();
        Click(d, "okButton");  // nothing loaded yet: ignored
        shown << (d->isVisible() ? "open" : "closed");
        models->setCurrentIndex(10);
        freqs->setCurrentIndex(1);
        fake.openPaths = {b};
        Click(d, "file2Button");
        Click(d, "okButton");
    });
    EXPECT_EQ(shown, (QStringList{"Compare Files with Default,Select Files,Default,Model:,Frequency:",
                                  "File&3...", "11", "T400-2.2", "D200-0.2", "50 Hz/60 Hz", "50 Hz", "open"}));
    EXPECT_EQ(Messages(), "");
    const CMarbenDoc* doc = frame->Document();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(std::make_tuple(doc->compareMode, app.currentModel, doc->model, int{app.settings.hz50}, int{doc->hz50}),
              std::make_tuple(3, 10, 10, 0, 0));
    EXPECT_EQ(Grid(), (QStringList{"Description|Code|Default|------|b.kpf|------",
                                   "Acceleration time 1 (s)|F01|5.0||7.5|",
                                   "Multi-function output T+,T- (option)|C46|5||0|"}));
    EXPECT_EQ(frame->StatusPane(3)->text(), "Model: T400-2.2");
}

TEST_F(CompareGuiTest, CancelInTheSaveQuestionLeavesTheOpenDocumentAndTheModel) {
    app.currentModel = 2;
    CMarbenDoc* open = NewDocument();
    open->SetModifiedFlag(true);
    const std::string a = ParamFile("a.kpf", 5, true, {{1, 125}});
    fake.yesNoCancelAnswers = {Answer::Cancel};
    RunWithDialog<CFileWithDefDialog>(cmd::kCompareFilesDefault, [&](CFileWithDefDialog* d) {
        d->findChild<QComboBox*>("modelList")->setCurrentIndex(9);
        fake.openPaths = {a};
        Click(d, "file1Button");
        Click(d, "okButton");
    });
    EXPECT_EQ(frame->Document(), open);
    EXPECT_EQ(std::tie(open->compareMode, app.currentModel, app.busyFlag), std::make_tuple(0, 2, 0));
    EXPECT_EQ(Messages(), "yesnocancel|KOLT Quendal 1.2|" + kSaveQuestion + "\n");
}

TEST_F(CompareGuiTest, InverterWithDefaultReadsTheStationIntoACompareDocument) {
    StartDrive({3, 254});
    EXPECT_FALSE(frame->Action(cmd::kCompareInverterDefault)->isEnabled());  // nothing linked yet
    LinkStation(3);
    EXPECT_TRUE(frame->Action(cmd::kCompareInverterDefault)->isEnabled());
    drive->SetParamValue(254, 1, 123);   // F01 12.3 s
    drive->SetParamValue(254, 110, 1);   // C10
    drive->SetParamValue(254, 0, 8);     // another capacity code: model 8
    app.settings.hz50 = 1;

    QStringList shown;
    RunWithDialog<CSelStationDialog>(cmd::kCompareInverterDefault, [&](CSelStationDialog* d) {
        auto* stations = d->findChild<QComboBox*>("stationCombo");
        auto* freqs = d->findChild<QComboBox*>("frequencyList");
        shown << Captions(d) << QString::number(stations->count()) << stations->itemText(0) << stations->itemText(253)
              << stations->currentText() << freqs->currentText();
        stations->setCurrentIndex(253);
        freqs->setCurrentIndex(1);
        Click(d, "okButton");
    });
    EXPECT_EQ(shown, (QStringList{"Compare Inverter with Default,Default,Station NO. :,Frequency :", "254", "1", "254",
                                  "3", "50 Hz"}));
    EXPECT_EQ(Messages(), "");
    const CMarbenDoc* doc = frame->Document();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(std::tie(doc->compareMode, app.currentStation, app.currentModel, app.softwareVersion, doc->model),
              std::make_tuple(1, 254, 8, 12, 8));
    EXPECT_EQ(std::make_pair(int{app.settings.hz50}, int{doc->hz50}), std::make_pair(0, 0));
    // The drive holds model 5's 50 Hz defaults; against model 8 at 60 Hz
    // every model- and frequency-dependent parameter differs.
    const QStringList grid = Grid();
    ASSERT_FALSE(grid.isEmpty());
    EXPECT_EQ(grid.front(), "Description|Code|Default|Station_254");
    EXPECT_TRUE(grid.contains("Acceleration time 1 (s)|F01|5.0|12.3"));
    EXPECT_TRUE(grid.contains("Frequency upper limit (Hz)|F07|50.00/60.00|50.00"));
    EXPECT_TRUE(grid.contains("Software version|F53|x.x|1.2"));
    EXPECT_FALSE(grid.join("\n").contains("|F00|"));  // the capacity code is the model's own
    EXPECT_EQ(frame->StatusPane(2)->text(), "Linking  254");
    EXPECT_EQ(frame->StatusPane(3)->text(), "Model: T400-0.75");
    EXPECT_EQ(app.busyFlag, 0);
}

TEST_F(CompareGuiTest, ASilentStationCreatesNoDocumentAndTheOldOneStaysClosed) {
    StartDrive({3, 7}, {7});
    LinkStation(3);
    NewDocument();
    app.settings.hz50 = 1;
    app.softwareVersion = 99;
    CompareInverter(7, 1);
    EXPECT_EQ(Messages(), "comm|Communication Message|TIME-OUT !!\n");
    EXPECT_EQ(frame->Document(), nullptr);
    // Nothing of the failed read is kept: station, version, frequency, staging.
    EXPECT_EQ(std::tie(app.currentStation, app.softwareVersion, app.settings.hz50, app.staging.compareMode,
                       app.linkedFlag, app.busyFlag),
              std::make_tuple(3, 99, 1, 0, 1, 0));
}

}  // namespace
}  // namespace kolt::testing
