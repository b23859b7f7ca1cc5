// The Link dialog's network ports and advanced part: what the dialog hands to
// the link command, what it greys, what it refuses and what a restart keeps.
#include "dialogs_helpers.h"
#include "drive_frame_fixture.h"

#include "base/marben_app.h"
#include "link/ui/link_dialog.h"
#include "link/ui/network_port_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>

namespace kolt::testing {
namespace {

std::string FakeDevice(int n) { return "/dev/fake" + std::to_string(n); }

QComboBox* Ports(CLinkDialog& d) { return d.findChild<QComboBox*>("comPortCombo"); }

// Picks "Network..." (the list's last entry) and answers its dialog; an empty
// host cancels it.
void ChooseNetwork(CLinkDialog& d, QString host, QString port, bool rfc2217) {
    WhenModal<CNetworkPortDialog>([=](CNetworkPortDialog* n) {
        if (host.isEmpty()) return n->reject();
        n->findChild<QLineEdit*>("hostEdit")->setText(host);
        n->findChild<QLineEdit*>("tcpPortEdit")->setText(port);
        n->findChild<QRadioButton*>(rfc2217 ? "rfc2217Radio" : "rawTcpRadio")->click();
        n->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    });
    Ports(d)->setCurrentIndex(Ports(d)->count() - 1);
}

// Which of the line's inputs act, whether the note shows, and the placeholder of the read time-out.
QString LineState(CLinkDialog& d) {
    QString s;
    for (const char* name : {"baudCombo", "dataBitsCombo", "parityCombo", "stopBitsCombo", "defaultButton", "rs485Check"})
        s += d.findChild<QWidget*>(name)->isEnabled() ? "1" : "0";
    return s + (d.findChild<QLabel*>("lineNote")->isVisibleTo(&d) ? " note " : " - ") +
           d.findChild<QLineEdit*>("readTimeoutEdit")->placeholderText();
}

TEST(LinkDialogNetwork, NetworkEntryNamesThePortAndRawTcpGreysTheLine) {
    CMarbenApp app;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    EXPECT_EQ(std::tuple(Ports(dlg)->count(), Ports(dlg)->itemText(8), LineState(dlg)),
              std::tuple(9, "Network...", "111111 - default 400"));

    ChooseNetwork(dlg, "gw-7", "4001", false);
    EXPECT_EQ(std::tuple(dlg.portName(), Ports(dlg)->currentText(), LineState(dlg)),
              std::tuple("tcp://gw-7:4001", "tcp://gw-7:4001", "000000 note default 1000"));
    EXPECT_EQ(dlg.findChild<QLabel*>("lineNote")->text(), "Raw TCP: the serial device server's own line settings apply.");

    // RFC 2217 carries the line settings to the server; a cancelled entry keeps the port chosen before.
    ChooseNetwork(dlg, "10.0.0.9", "2217", true);
    ChooseNetwork(dlg, "", "", false);
    EXPECT_EQ(std::tuple(dlg.portName(), Ports(dlg)->count(), LineState(dlg)),
              std::tuple("rfc2217://10.0.0.9:2217", 11, "111110 - default 1000"));

    // A port number out of range is refused with a message, and the dialog stays.
    QString refused;
    WhenModal<CNetworkPortDialog>([&refused](CNetworkPortDialog* n) {
        n->findChild<QLineEdit*>("hostEdit")->setText("gw-7");
        n->findChild<QLineEdit*>("tcpPortEdit")->setText("70000");
        WhenModal<QMessageBox>([&refused, n](QMessageBox* box) {
            refused = box->text();
            box->accept();
            n->findChild<QLineEdit*>("tcpPortEdit")->setText("4001");
            WhenModal<CNetworkPortDialog>([](CNetworkPortDialog* again) {
                again->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
            });
        });
        n->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    });
    Ports(dlg)->setCurrentIndex(Ports(dlg)->count() - 1);
    EXPECT_EQ(std::tuple(refused, dlg.portName(), Ports(dlg)->count()),
              std::tuple("The port must be a number from 1 to 65535.", "rfc2217://gw-7:4001", 12));

    // Back to a COM port: no port name, the line acts again.
    Ports(dlg)->setCurrentIndex(2);
    EXPECT_EQ(std::tuple(dlg.portName(), dlg.comPort(), LineState(dlg)), std::tuple("", 3, "111111 - default 400"));
}

// Through the main window's Link command and its close, as a user would.
class LinkDialogRestart : public DriveFrameTest {};

TEST_F(LinkDialogRestart, RememberedPortsSurviveARestart) {
    for (const char* name : {"tcp://127.0.0.1:2", "rfc2217://127.0.0.1:3"}) NoteLinkPort(name, app.settings);
    MakeLinkedFrame(false);
    WhenModal<CLinkDialog>([](CLinkDialog* d) {
        ChooseNetwork(*d, "127.0.0.1", "1", false);
        d->findChild<QCheckBox*>("echoCheck")->setChecked(true);
        d->findChild<QPushButton*>("linkButton")->click();
    });
    frame->RunCommand(cmd::kLink);
    // Nothing listens there, so the link fails; the choice is kept all the same, as the line is.
    EXPECT_EQ(std::tuple(app.linkedFlag, fake.shown.size()), std::tuple(0, 1u));
    ASSERT_TRUE(frame->close());

    CMarbenApp restarted;
    ASSERT_TRUE(ReadSettingsFile(app.SettingsPath(), restarted.settings));
    CLinkDialog again(restarted, nullptr, FakeDevice);
    QStringList items;
    for (int i = 8; i < Ports(again)->count(); ++i) items << Ports(again)->itemText(i);
    EXPECT_EQ(items, (QStringList{"tcp://127.0.0.1:1", "rfc2217://127.0.0.1:3", "tcp://127.0.0.1:2", "Network..."}));
    EXPECT_EQ(std::tuple(again.portName(), again.comPort(), LineState(again)),
              std::tuple("tcp://127.0.0.1:1", 1, "000000 note default 1000"));
    // The advanced part opens by itself when it holds something.
    EXPECT_TRUE(again.findChild<QCheckBox*>("echoCheck")->isChecked() &&
                again.findChild<QWidget*>("advancedBox")->isVisibleTo(&again));
}

TEST(LinkDialogNetwork, OutOfRangeTimeOutsAreRefusedOnLink) {
    CMarbenApp app;
    CLinkDialog dlg(app, nullptr, FakeDevice);
    EXPECT_FALSE(dlg.findChild<QWidget*>("advancedBox")->isVisibleTo(&dlg));  // folded by default
    auto* timeout = dlg.findChild<QLineEdit*>("readTimeoutEdit");
    auto* gap = dlg.findChild<QLineEdit*>("charGapEdit");
    // Each bad field in turn: its message, and the dialog stays up.
    QStringList seen;
    const std::vector<std::tuple<QString, QString>> tries{{"49", ""}, {"10001", "300"}, {"1500", "5001"}, {"1500", "9"}};
    std::function<void(std::size_t)> attempt = [&](std::size_t i) {
        WhenModal<CLinkDialog>([&, i](CLinkDialog* d) {
            timeout->setText(std::get<0>(tries[i]));
            gap->setText(std::get<1>(tries[i]));
            WhenModal<QMessageBox>([&, i](QMessageBox* box) {
                seen << box->text();
                box->accept();
                if (i + 1 < tries.size()) return attempt(i + 1);
                timeout->setText("1500");
                gap->setText("");
                WhenModal<CLinkDialog>([](CLinkDialog* d2) { d2->findChild<QPushButton*>("linkButton")->click(); });
            });
            d->findChild<QPushButton*>("linkButton")->click();
        });
    };
    attempt(0);
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    const QString badTimeout = "The read time-out must be 50 to 10000 ms, or empty for the port's default.";
    const QString badGap = "The character gap must be 10 to 5000 ms, or empty for the port's default.";
    EXPECT_EQ(seen, (QStringList{badTimeout, badTimeout, badGap, badGap}));
    EXPECT_EQ(std::tuple(dlg.request().line.readTimeoutMs, dlg.request().line.charGapMs), std::tuple(1500, 0));
    EXPECT_TRUE(dlg.findChild<QWidget*>("advancedBox")->isVisibleTo(&dlg));
}

}  // namespace
}  // namespace kolt::testing
