// What the Link, Read and Write dialogs show and refuse before any button is
// pressed; their buttons are driven end to end in link_commands_test.
#include "dialogs_helpers.h"

#include "base/marben_app.h"
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

#include <tuple>

namespace kolt {
namespace {

std::string FakeDevice(int n) { return "/dev/fake" + std::to_string(n); }

TEST(LinkDialog, StoredSettingsMendedAndLockedWhileLinked) {
    CMarbenApp app;
    app.settings.baudRate = 12345;  // not offered: shows 38400
    std::tie(app.settings.comPort, app.settings.dataBits, app.settings.parity, app.settings.stopBits) = std::tuple(3, 7, 1, 2);
    app.currentStation = 17;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    QStringList shown{dlg.findChild<QLineEdit*>("stationEdit")->text()};
    for (const char* c : {"baudCombo", "dataBitsCombo", "parityCombo", "stopBitsCombo"})
        shown << dlg.findChild<QComboBox*>(c)->currentText();
    EXPECT_EQ(shown, (QStringList{"17", "38400", "7 bits", "Odd", "2 bits"}));
    EXPECT_EQ((std::vector<int>{dlg.comPort(), dlg.baudRate(), dlg.parity()}), (std::vector<int>{3, 38400, 1}));
    dlg.findChild<QComboBox*>("parityCombo")->setCurrentIndex(1);  // the list runs None, Even, Odd
    EXPECT_EQ(dlg.parity(), 2);

    // Other odd stored values fall back: COM1, data bits 8, parity none, one stop bit.
    app.settings = {};
    std::tie(app.settings.comPort, app.settings.dataBits, app.settings.parity, app.settings.stopBits) = std::tuple(9, 5, 7, 1);
    app.linkedFlag = 1;  // and while linked only Unlink and Close act
    CLinkDialog linked(app, nullptr, FakeDevice);
    EXPECT_EQ((std::vector<int>{linked.comPort(), linked.dataBits(), linked.parity(), linked.stopBits()}),
              (std::vector<int>{1, 8, 0, 0}));
    for (const char* name : {"linkButton", "defaultButton", "comPortCombo", "baudCombo", "stationEdit", "allRadio"})
        EXPECT_FALSE(linked.findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_TRUE(linked.findChild<QWidget*>("unlinkButton")->isEnabled() && !dlg.findChild<QWidget*>("unlinkButton")->isEnabled());
}

void ClickOk(QDialog* d) { d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click(); }

TEST(ReadDialog, PresetGroupsAndMonitoringLock) {
    CMarbenApp app;
    app.currentStation = 42;
    CReadParaDialog dlg(app);
    EXPECT_EQ(std::tuple(dlg.findChild<QComboBox*>("stationCombo")->itemText(253), dlg.station()), std::tuple("254", 42));
    // Both groups start checked; unchecking the last one checked checks the other.
    auto* basic = dlg.findChild<QCheckBox*>("basicCheck");
    auto* advanced = dlg.findChild<QCheckBox*>("advancedCheck");
    EXPECT_EQ(basic->text() + "|" + advanced->text(), "Basic Function (Fxx)|Advanced Function (Cxx)");
    for (QCheckBox* box : {basic, advanced, basic}) box->click();
    EXPECT_EQ((std::pair{dlg.readBasic(), dlg.readAdvanced()}), (std::pair{false, true}));

    app.monitoringFlag = 1;  // the monitored station and both groups, fixed
    app.currentStation = 3;
    CReadParaDialog locked(app);
    for (const char* name : {"stationCombo", "basicCheck", "advancedCheck"})
        EXPECT_FALSE(locked.findChild<QWidget*>(name)->isEnabled()) << name;
    EXPECT_TRUE(locked.station() == 3 && locked.readBasic() && locked.readAdvanced());
}

TEST(WriteDialog, StationsAndAnEmptyChoice) {
    CMarbenApp app;
    app.currentStation = 9;
    CWriteParaDialog dlg(app);
    auto* single = dlg.findChild<QRadioButton*>("singleRadio");
    auto* all = dlg.findChild<QRadioButton*>("allRadio");
    auto* edit = dlg.findChild<QLineEdit*>("stationEdit");
    ASSERT_TRUE(single && all && edit);
    EXPECT_EQ(single->text() + "|" + all->text() + "|" + dlg.findChild<QLabel*>("stationHint")->text(),
              "Single:|All Station|(Single or range, for example: 1,3,5-12)");
    EXPECT_EQ(dlg.stations(), std::vector<int>{9});
    all->click();
    EXPECT_EQ(std::tuple(edit->isEnabled(), dlg.stations().size()), std::tuple(false, 254u));
    single->click();

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
    EXPECT_EQ(std::tuple(seen, dlg.stations()), std::tuple("No station selected !!", std::vector<int>{4}));
}

}  // namespace
}  // namespace kolt
