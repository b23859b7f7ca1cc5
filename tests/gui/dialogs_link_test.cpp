// The Link dialog: initial values from the settings, enabling by the link
// state, the default setting, and what each button returns.
#include "dialogs_helpers.h"

#include "app/marben_app.h"
#include "link/ui/link_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kolt {
namespace {

std::string FakeDevice(int n) { return "/dev/fake" + std::to_string(n); }

template <typename T>
T* Find(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

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
    auto* com = Find<QComboBox>(&dlg, "comPortCombo");
    ASSERT_EQ(com->count(), 8);
    EXPECT_TRUE(com->itemText(0).startsWith("1"));
    EXPECT_TRUE(com->itemText(0).contains("/dev/fake1"));
    EXPECT_TRUE(com->itemText(7).contains("/dev/fake8"));
    EXPECT_EQ(dlg.comPort(), 3);
    EXPECT_EQ(Find<QComboBox>(&dlg, "baudCombo")->currentText(), "38400");
    EXPECT_EQ(dlg.baudRate(), 38400);
    EXPECT_EQ(Find<QComboBox>(&dlg, "dataBitsCombo")->currentText(), "7 bits");
    EXPECT_EQ(Find<QComboBox>(&dlg, "parityCombo")->currentText(), "Odd");
    EXPECT_EQ(dlg.parity(), 1);
    EXPECT_EQ(Find<QComboBox>(&dlg, "stopBitsCombo")->currentText(), "2 bits");
    EXPECT_EQ(dlg.stopBits(), 2);
    EXPECT_EQ(Find<QLineEdit>(&dlg, "stationEdit")->text(), "17");
    EXPECT_TRUE(Find<QRadioButton>(&dlg, "singleRadio")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(&dlg, "allRadio")->isChecked());
    EXPECT_EQ(Find<QLabel>(&dlg, "stationHint")->text(), "(Single or range, for example: 1,3,5-12)");

    // Parity codes: the list order is None, Even, Odd.
    auto* parity = Find<QComboBox>(&dlg, "parityCombo");
    parity->setCurrentIndex(1);
    EXPECT_EQ(dlg.parity(), 2);
    parity->setCurrentIndex(0);
    EXPECT_EQ(dlg.parity(), 0);

    // Other odd stored values fall back: data bits 8, parity none, one stop bit, COM1.
    CMarbenApp odd;
    odd.settings.comPort = 9;
    odd.settings.dataBits = 5;
    odd.settings.parity = 7;
    odd.settings.stopBits = 1;
    CLinkDialog dlg2(odd, nullptr, FakeDevice);
    EXPECT_EQ(dlg2.comPort(), 1);
    EXPECT_EQ(dlg2.dataBits(), 8);
    EXPECT_EQ(dlg2.parity(), 0);
    EXPECT_EQ(dlg2.stopBits(), 0);
}

TEST(LinkDialog, DefaultSettingKeepsThePort) {
    CMarbenApp app;
    app.settings = {};
    app.settings.comPort = 5;
    app.settings.baudRate = 4800;
    app.settings.dataBits = 7;
    app.settings.parity = 2;
    app.settings.stopBits = 2;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    QTest::mouseClick(Find<QPushButton>(&dlg, "defaultButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.comPort(), 5);
    EXPECT_EQ(dlg.baudRate(), 38400);
    EXPECT_EQ(dlg.dataBits(), 8);
    EXPECT_EQ(dlg.parity(), 0);
    EXPECT_EQ(dlg.stopBits(), 0);

    // Link would hand on these values.
    const LinkRequest r = dlg.request();
    EXPECT_EQ(r.button, LinkButton::Close);
    EXPECT_EQ(r.line.comPort, 5);
    EXPECT_EQ(r.line.baudRate, 38400);
    EXPECT_EQ(r.line.dataBits, 8);
}

TEST(LinkDialog, EnablingFollowsTheLinkState) {
    CMarbenApp app;
    {
        CLinkDialog dlg(app, nullptr, FakeDevice);
        EXPECT_TRUE(Find<QPushButton>(&dlg, "linkButton")->isEnabled());
        EXPECT_FALSE(Find<QPushButton>(&dlg, "unlinkButton")->isEnabled());
        EXPECT_TRUE(Find<QPushButton>(&dlg, "closeButton")->isEnabled());
        EXPECT_TRUE(Find<QComboBox>(&dlg, "baudCombo")->isEnabled());
        auto* edit = Find<QLineEdit>(&dlg, "stationEdit");
        EXPECT_TRUE(edit->isEnabled());
        Find<QRadioButton>(&dlg, "allRadio")->click();
        EXPECT_FALSE(edit->isEnabled());
        EXPECT_EQ(dlg.stations().size(), 254u);
        Find<QRadioButton>(&dlg, "singleRadio")->click();
        EXPECT_TRUE(edit->isEnabled());
    }
    app.linkedFlag = 1;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    EXPECT_FALSE(Find<QPushButton>(&dlg, "linkButton")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(&dlg, "unlinkButton")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(&dlg, "closeButton")->isEnabled());
    for (const char* name : {"comPortCombo", "baudCombo", "dataBitsCombo", "parityCombo", "stopBitsCombo"})
        EXPECT_FALSE(Find<QComboBox>(&dlg, name)->isEnabled()) << name;
    EXPECT_FALSE(Find<QPushButton>(&dlg, "defaultButton")->isEnabled());
    EXPECT_FALSE(Find<QLineEdit>(&dlg, "stationEdit")->isEnabled());
    EXPECT_FALSE(Find<QRadioButton>(&dlg, "singleRadio")->isEnabled());
    EXPECT_FALSE(Find<QRadioButton>(&dlg, "allRadio")->isEnabled());
}

TEST(LinkDialog, ButtonsReturnTheirChoiceAndTheStations) {
    CMarbenApp app;
    {
        CLinkDialog dlg(app, nullptr, FakeDevice);
        testing::WhenModal<CLinkDialog>([](CLinkDialog* d) {
            auto* edit = d->findChild<QLineEdit*>("stationEdit");
            edit->clear();
            QTest::keyClicks(edit, "12-5, 3,1");
            QTest::mouseClick(d->findChild<QPushButton*>("linkButton"), Qt::LeftButton);
        });
        EXPECT_EQ(dlg.exec(), QDialog::Accepted);
        EXPECT_EQ(dlg.choice(), CLinkDialog::Choice::Link);
        const LinkRequest r = dlg.request();
        EXPECT_EQ(r.button, LinkButton::Link);
        EXPECT_EQ(r.stations, (std::vector<int>{1, 3, 5, 6, 7, 8, 9, 10, 11, 12}));
        EXPECT_EQ(r.line.baudRate, 38400);
    }
    {
        CLinkDialog dlg(app, nullptr, FakeDevice);
        testing::WhenModal<CLinkDialog>([](CLinkDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        dlg.exec();
        EXPECT_EQ(dlg.choice(), CLinkDialog::Choice::Close);
    }
    {
        CLinkDialog dlg(app, nullptr, FakeDevice);
        testing::WhenModal<CLinkDialog>([](CLinkDialog* d) {
            QTest::mouseClick(d->findChild<QPushButton*>("closeButton"), Qt::LeftButton);
        });
        dlg.exec();
        EXPECT_EQ(dlg.choice(), CLinkDialog::Choice::Close);
    }
    app.linkedFlag = 1;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    testing::WhenModal<CLinkDialog>([](CLinkDialog* d) {
        QTest::mouseClick(d->findChild<QPushButton*>("unlinkButton"), Qt::LeftButton);
    });
    dlg.exec();
    EXPECT_EQ(dlg.choice(), CLinkDialog::Choice::Unlink);
    EXPECT_EQ(dlg.request().button, LinkButton::Unlink);
}

}  // namespace
}  // namespace kolt
