// The Link, Read and Write dialogs on their own: initial values, enabling, the
// keep-one-group rule and the station list. Their buttons are driven end to end
// in link_commands_test.
#include "dialogs_helpers.h"

#include "app/marben_app.h"
#include "link/ui/link_dialog.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kolt {
namespace {

std::string FakeDevice(int n) { return "/dev/fake" + std::to_string(n); }

TEST(LinkDialog, ShowsStoredSettingsAndMendsUnknownValues) {
    CMarbenApp app;
    app.settings.comPort = 3;
    app.settings.baudRate = 12345;  // not offered: shows 38400
    app.settings.dataBits = 7;
    app.settings.parity = 1;
    app.settings.stopBits = 2;
    app.currentStation = 17;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    EXPECT_EQ(dlg.windowTitle(), "Link");
    auto* com = dlg.findChild<QComboBox*>("comPortCombo");
    ASSERT_EQ(com->count(), 8);
    EXPECT_TRUE(com->itemText(7).startsWith("8") && com->itemText(7).contains("/dev/fake8"));
    EXPECT_EQ(dlg.comPort(), 3);
    QStringList shown;
    for (const char* c : {"baudCombo", "dataBitsCombo", "parityCombo", "stopBitsCombo"})
        shown << dlg.findChild<QComboBox*>(c)->currentText();
    EXPECT_EQ(shown, (QStringList{"38400", "7 bits", "Odd", "2 bits"}));
    EXPECT_EQ((std::vector<int>{dlg.baudRate(), dlg.parity(), dlg.stopBits()}), (std::vector<int>{38400, 1, 2}));
    EXPECT_EQ(dlg.findChild<QLineEdit*>("stationEdit")->text(), "17");
    EXPECT_TRUE(dlg.findChild<QRadioButton*>("singleRadio")->isChecked());
    EXPECT_EQ(dlg.findChild<QLabel*>("stationHint")->text(), "(Single or range, for example: 1,3,5-12)");
    dlg.findChild<QComboBox*>("parityCombo")->setCurrentIndex(1);  // the list runs None, Even, Odd
    EXPECT_EQ(dlg.parity(), 2);

    // Other odd stored values fall back: COM1, data bits 8, parity none, one stop bit.
    CMarbenApp odd;
    odd.settings.comPort = 9;
    odd.settings.dataBits = 5;
    odd.settings.parity = 7;
    odd.settings.stopBits = 1;
    CLinkDialog dlg2(odd, nullptr, FakeDevice);
    EXPECT_EQ((std::vector<int>{dlg2.comPort(), dlg2.dataBits(), dlg2.parity(), dlg2.stopBits()}),
              (std::vector<int>{1, 8, 0, 0}));

    // Default resets the line but keeps the port.
    dlg.findChild<QPushButton*>("defaultButton")->click();
    EXPECT_EQ((std::vector<int>{dlg.comPort(), dlg.baudRate(), dlg.dataBits(), dlg.parity(), dlg.stopBits()}),
              (std::vector<int>{3, 38400, 8, 0, 0}));
}

TEST(LinkDialog, EnablingFollowsTheLinkState) {
    CMarbenApp app;
    const char* const names[] = {"linkButton", "defaultButton", "comPortCombo", "baudCombo", "dataBitsCombo",
                                 "parityCombo", "stopBitsCombo", "stationEdit", "singleRadio", "allRadio"};
    for (int linked : {0, 1}) {
        app.linkedFlag = linked;
        CLinkDialog dlg(app, nullptr, FakeDevice);
        for (const char* name : names) EXPECT_EQ(dlg.findChild<QWidget*>(name)->isEnabled(), !linked) << name;
        EXPECT_EQ(dlg.findChild<QWidget*>("unlinkButton")->isEnabled(), linked == 1);
        EXPECT_TRUE(dlg.findChild<QWidget*>("closeButton")->isEnabled());
    }
    app.linkedFlag = 0;  // All Station takes the place of the list
    CLinkDialog unlinked(app, nullptr, FakeDevice);
    unlinked.findChild<QRadioButton*>("allRadio")->click();
    EXPECT_FALSE(unlinked.findChild<QLineEdit*>("stationEdit")->isEnabled());
    EXPECT_EQ(unlinked.stations().size(), 254u);
}

void ClickOk(QDialog* d) { d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click(); }

// Both groups start checked; unchecking the last one checked checks the other.
void ExpectKeepsOneChecked(QDialog& dlg) {
    auto* basic = dlg.findChild<QCheckBox*>("basicCheck");
    auto* advanced = dlg.findChild<QCheckBox*>("advancedCheck");
    ASSERT_TRUE(basic && advanced);
    EXPECT_EQ(basic->text() + "|" + advanced->text(), "Basic Function (Fxx)|Advanced Function (Cxx)");
    const auto state = [&] { return QString("%1%2").arg(basic->isChecked()).arg(advanced->isChecked()); };
    EXPECT_EQ(state(), "11");
    for (const auto& [box, expected] : {std::pair{basic, "01"}, {advanced, "10"}, {basic, "01"}}) {
        box->click();
        EXPECT_EQ(state(), expected);
    }
}

TEST(ReadDialog, PresetGroupsAndMonitoringLock) {
    CMarbenApp app;
    app.currentStation = 42;
    CReadParaDialog dlg(app);
    EXPECT_EQ(dlg.windowTitle(), "Read");
    EXPECT_EQ(dlg.findChild<QComboBox*>("stationCombo")->itemText(253), "254");
    EXPECT_EQ(dlg.station(), 42);
    ExpectKeepsOneChecked(dlg);
    EXPECT_FALSE(dlg.readBasic());
    EXPECT_TRUE(dlg.readAdvanced());

    app.monitoringFlag = 1;  // the monitored station and both groups, fixed
    app.currentStation = 3;
    CReadParaDialog locked(app);
    for (const char* name : {"stationCombo", "basicCheck", "advancedCheck"})
        EXPECT_FALSE(locked.findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_EQ(locked.station(), 3);
    EXPECT_TRUE(locked.readBasic() && locked.readAdvanced());
}

TEST(WriteDialog, StationsAndGroups) {
    CMarbenApp app;
    app.currentStation = 9;
    CWriteParaDialog dlg(app);
    EXPECT_EQ(dlg.windowTitle(), "Write");
    auto* single = dlg.findChild<QRadioButton*>("singleRadio");
    auto* all = dlg.findChild<QRadioButton*>("allRadio");
    auto* edit = dlg.findChild<QLineEdit*>("stationEdit");
    ASSERT_TRUE(single && all && edit);
    EXPECT_EQ(single->text() + "|" + all->text(), "Single:|All Station");
    EXPECT_EQ(dlg.findChild<QLabel*>("stationHint")->text(), "(Single or range, for example: 1,3,5-12)");
    EXPECT_TRUE(single->isChecked());
    EXPECT_EQ(dlg.stations(), std::vector<int>{9});
    ExpectKeepsOneChecked(dlg);
    all->click();
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(dlg.stations().size(), 254u);
    single->click();
    EXPECT_TRUE(edit->isEnabled());

    // OK with a text that names no station: a message, and the dialog stays.
    QString seen;
    testing::WhenModal<CWriteParaDialog>([&seen](CWriteParaDialog* d) {
        d->findChild<QLineEdit*>("stationEdit")->setText(",");
        testing::WhenModal<QMessageBox>([&seen, d](QMessageBox* box) {
            seen = box->text();
            box->accept();
            d->findChild<QLineEdit*>("stationEdit")->setText("4");
            testing::WhenModal<CWriteParaDialog>(ClickOk);
        });
        ClickOk(d);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(seen, "No station selected !!");
    EXPECT_EQ(dlg.stations(), std::vector<int>{4});
}

}  // namespace
}  // namespace kolt
