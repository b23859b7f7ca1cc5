// Pictures of the two monitor windows for the README, taken against the
// virtual drive: the program's own frame, link and monitor commands, driven
// as a user would (Link, Monitor, a frequency, RUN, a terminal switch).
// Usage: kolt-monitor-shots SINGLE.png ALL.png (run on an X screen or offscreen),
//        kolt-monitor-shots --trend TREND.png (a drive ramping up, reversing and tripping).
#include "app/ui/link_commands.h"
#include "app/ui/main_frame.h"
#include "app/ui/monitor_commands.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/view_factory.h"
#include "document/doc_commands.h"
#include "document/marben_doc.h"
#include "drive-sim/virtual_drive.h"
#include "link/link_procedure.h"
#include "monitor/ui/monitor_panel.h"
#include "monitor/ui/trend_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget* w, const char* path) {
    w->adjustSize();
    Wait(300);
    if (w->grab().save(QString::fromLocal8Bit(path))) return true;
    std::fprintf(stderr, "could not save %s\n", path);
    return false;
}

void SetFrequencyAndRun(kolt::CMonitorPanel* p, const char* hz, bool reverse) {
    p->FrequencyInput()->setText(QString::fromLatin1(hz));
    p->Button("freqSet")->click();
    p->Button("run")->click();
    if (reverse) p->Button("rev")->click();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    const bool trend = argc == 3 && std::string(argv[1]) == "--trend";
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SINGLE.png ALL.png | --trend TREND.png\n", argv[0]);
        return 2;
    }
    QTemporaryDir dir;
    kolt::sim::DriveSimOptions o;
    o.stations = {1, 2, 3, 5};
    o.model = 5;
    kolt::sim::VirtualDrive drive(o);
    if (!drive.Start()) {
        std::fprintf(stderr, "%s\n", drive.Error().c_str());
        return 1;
    }
    setenv("KOLT_COM1", drive.SlavePath().c_str(), 1);

    kolt::CMarbenApp app;
    app.installDir = dir.path().toStdString();
    kolt::QtPrompts prompts(app);
    QSettings store(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
    kolt::CLinkCommands link(app, prompts);
    auto frame = std::make_unique<kolt::CMainFrame>(app, prompts, store,
                                                    link.WrapViewFactory(kolt::ParameterViewFactory(app, prompts)));
    prompts.SetParentWidget(frame.get());
    link.Install(*frame);
    kolt::CMonitorCommands monitor(app, link.Context());
    monitor.Install(*frame);
    frame->resize(1200, 800);
    frame->show();

    // A document with the plant's names for its stations.
    kolt::PrepareFileNew(app, 5, true);
    kolt::CMarbenDoc* doc = frame->ShowDocument(kolt::CreateNewDocument(app));
    const char* titles[] = {"Supply pump", "Return pump", "Cooling fan", "", "Conveyor"};
    for (int i = 0; i < 5; ++i) doc->stationTitles[static_cast<std::size_t>(i)] = titles[i];

    kolt::LinkRequest request;
    request.button = kolt::LinkButton::Link;
    request.stations = {1};
    if (kolt::RunLinkCommand(link.Context(), request) != kolt::LinkOutcome::Linked) {
        std::fprintf(stderr, "the virtual drive did not link\n");
        return 1;
    }

    if (trend) {
        // Quicker ramps than the factory's, so the picture holds a whole story:
        // up to 50 Hz forward, stop, up again in reverse, then a trip.
        drive.SetParamValue(1, 1, 40);  // F01 acceleration 4.0 s
        drive.SetParamValue(1, 2, 30);  // F02 deceleration 3.0 s
        monitor.Engine().StartSingle(1);
        kolt::CMonSingleDialog* single = monitor.SingleWindow();
        if (!single) return 1;
        kolt::CMonitorPanel* p = single->Panel();
        Wait(1200);  // the limits poll brings F07
        p->Button("trend")->click();
        kolt::CTrendWindow* w = monitor.TrendWindow(1);
        if (!w) return 1;
        w->SetSpan(0);
        w->resize(980, 560);
        Wait(2000);
        SetFrequencyAndRun(p, "50", false);
        Wait(8000);
        p->Button("stop")->click();
        Wait(5000);
        p->Button("rev")->click();
        p->Button("run")->click();
        Wait(7000);
        drive.SetFault(1, 2);  // OC: the output stops at once
        Wait(3000);
        // The values at a moment of the reverse run, as a hover shows them.
        const auto& shown = w->Shown();
        if (shown.size() > 20) w->ShowCursorAt(shown[shown.size() - 14].timeMs);
        w->SetPaused(true);
        Wait(400);
        const bool saved = w->grab().save(QString::fromLocal8Bit(argv[2]));
        if (!saved) std::fprintf(stderr, "could not save %s\n", argv[2]);
        w->close();
        single->close();
        frame.reset();
        drive.Stop();
        return saved ? 0 : 1;
    }

    // One station: running at 42.5 Hz in reverse, S1 switched on, F07 chosen.
    monitor.Engine().StartSingle(1);
    kolt::CMonSingleDialog* single = monitor.SingleWindow();
    if (!single) return 1;
    kolt::CMonitorPanel* p = single->Panel();
    Wait(1200);  // the limits poll brings F07
    SetFrequencyAndRun(p, "42.5", true);
    p->FunctionList()->setCurrentIndex(7);
    Wait(500);
    p->TerminalCheck(0)->click();
    Wait(4000);
    if (!Save(single, argv[1])) return 1;
    single->close();

    // A page of five: four drives answer, one of them has tripped.
    monitor.Engine().StartAll({1, 2, 3, 4, 5});
    kolt::CMonMultiDialog* all = monitor.MultiWindow();
    if (!all) return 1;
    all->resize(all->sizeHint());
    Wait(1500);
    SetFrequencyAndRun(all->Panel(0), "42.5", true);
    SetFrequencyAndRun(all->Panel(1), "30", false);
    SetFrequencyAndRun(all->Panel(4), "50", false);
    drive.SetFault(3, 2);
    Wait(5000);
    if (!Save(all, argv[2])) return 1;
    all->close();
    frame.reset();
    drive.Stop();
    return 0;
}
