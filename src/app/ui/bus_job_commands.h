// The Operation menu's whole-bus commands in the window program: Backup Bus,
// Restore Bus and Bus Drift, each a dialog whose job runs on the bus.
#pragma once

#include "app/ui/bus_job_dialog.h"
#include "app/ui/frame_document_host.h"

#include <QObject>
#include <QString>

namespace kolt {

class CMainFrame;
class CLinkCommands;
class IPrompts;

class CBusJobCommands : public QObject {
    Q_OBJECT
public:
    // `link` owns the bus the jobs run on; `prompts` asks the save question
    // before Bus Drift opens a compare document.
    CBusJobCommands(CMarbenApp& app, IPrompts& prompts, CLinkCommands& link);

    // Hands the three commands to the frame; they are enabled by its rules.
    void Install(CMainFrame& frame);

    void Run(CBusJobDialog::Job job);

private:
    CMarbenApp& app_;
    IPrompts& prompts_;
    CLinkCommands& link_;
    CFrameDocumentHost host_;
    QString folder_;  // the last folder chosen, offered next time
};

}  // namespace kolt
