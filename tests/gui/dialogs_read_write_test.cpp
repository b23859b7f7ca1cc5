// The Read and Write dialogs: presets, the keep-one-group rule, the monitoring
// lock of Read, and the station list of Write.
#include "dialogs_helpers.h"

#include "app/marben_app.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kolt {
namespace {

void ClickOk(QDialog* d) {
    QTest::mouseClick(d->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

// Clicking the checked box that is the only one checked leaves both checked:
// unchecking one always checks the other.
void ExpectKeepsOneChecked(QDialog& dlg) {
    auto* basic = dlg.findChild<QCheckBox*>("basicCheck");
    auto* advanced = dlg.findChild<QCheckBox*>("advancedCheck");
    ASSERT_TRUE(basic && advanced);
    EXPECT_EQ(basic->text(), "Basic Function (Fxx)");
    EXPECT_EQ(advanced->text(), "Advanced Function (Cxx)");
    EXPECT_TRUE(basic->isChecked());
    EXPECT_TRUE(advanced->isChecked());
    basic->click();
    EXPECT_FALSE(basic->isChecked());
    EXPECT_TRUE(advanced->isChecked());
    advanced->click();  // turning the last one off turns the other on
    EXPECT_FALSE(advanced->isChecked());
    EXPECT_TRUE(basic->isChecked());
    basic->click();
    EXPECT_TRUE(advanced->isChecked());
    EXPECT_FALSE(basic->isChecked());
}

TEST(ReadDialog, PresetGroupsAndChoice) {
    CMarbenApp app;
    app.currentStation = 42;
    CReadParaDialog dlg(app);
    EXPECT_EQ(dlg.windowTitle(), "Read");
    auto* station = dlg.findChild<QComboBox*>("stationCombo");
    ASSERT_NE(station, nullptr);
    ASSERT_EQ(station->count(), 254);
    EXPECT_EQ(station->itemText(0), "1");
    EXPECT_EQ(station->itemText(253), "254");
    EXPECT_EQ(dlg.station(), 42);
    EXPECT_TRUE(station->isEnabled());
    ExpectKeepsOneChecked(dlg);
    EXPECT_FALSE(dlg.readBasic());
    EXPECT_TRUE(dlg.readAdvanced());

    testing::WhenModal<CReadParaDialog>([](CReadParaDialog* d) {
        d->findChild<QComboBox*>("stationCombo")->setCurrentIndex(6);
        ClickOk(d);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(dlg.station(), 7);
}

TEST(ReadDialog, LockedWhileMonitoring) {
    CMarbenApp app;
    app.monitoringFlag = 1;
    app.currentStation = 3;
    CReadParaDialog dlg(app);
    EXPECT_FALSE(dlg.findChild<QComboBox*>("stationCombo")->isEnabled());
    EXPECT_FALSE(dlg.findChild<QCheckBox*>("basicCheck")->isEnabled());
    EXPECT_FALSE(dlg.findChild<QCheckBox*>("advancedCheck")->isEnabled());
    EXPECT_EQ(dlg.station(), 3);
    EXPECT_TRUE(dlg.readBasic() && dlg.readAdvanced());
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
    EXPECT_EQ(single->text(), "Single:");
    EXPECT_EQ(all->text(), "All Station");
    EXPECT_EQ(dlg.findChild<QLabel*>("stationHint")->text(), "(Single or range, for example: 1,3,5-12)");
    EXPECT_TRUE(single->isChecked());
    EXPECT_EQ(edit->text(), "9");
    EXPECT_EQ(dlg.stations(), std::vector<int>{9});
    ExpectKeepsOneChecked(dlg);

    all->click();
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(dlg.stations().size(), 254u);
    single->click();
    EXPECT_TRUE(edit->isEnabled());
    edit->setText("abc 1,3,5-7");
    EXPECT_EQ(dlg.stations(), (std::vector<int>{1, 3, 5, 6, 7}));
}

TEST(WriteDialog, RefusesATextThatNamesNoStation) {
    CMarbenApp app;
    CWriteParaDialog dlg(app);
    QString seen;
    // First OK with a lone comma: a message, the dialog stays; then a real station.
    testing::WhenModal<CWriteParaDialog>([&seen](CWriteParaDialog* d) {
        d->findChild<QLineEdit*>("stationEdit")->setText(",");
        testing::WhenModal<QMessageBox>([&seen, d](QMessageBox* box) {
            seen = box->text();
            box->accept();
            testing::WhenModal<CWriteParaDialog>([](CWriteParaDialog* d2) {
                d2->findChild<QLineEdit*>("stationEdit")->setText("4");
                ClickOk(d2);
            });
        });
        ClickOk(d);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_EQ(seen, "No station selected !!");
    EXPECT_EQ(dlg.stations(), std::vector<int>{4});
}

}  // namespace
}  // namespace kolt
