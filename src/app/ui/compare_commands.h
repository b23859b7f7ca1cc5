// The File menu's three compare commands in the window program: Inverter with
// Default, File with File and Files with Default, each after its dialog.
#pragma once

#include "app/ui/frame_document_host.h"
#include "link/link_context.h"

#include <QObject>

namespace kolt {

class CMainFrame;
class CLinkCommands;

class CCompareCommands : public QObject {
    Q_OBJECT
public:
    // `link` owns the bus; Inverter with Default reads the drive on it.
    CCompareCommands(CMarbenApp& app, IPrompts& prompts, CLinkCommands& link);

    // Hands the three commands to the frame; they are enabled from then on by
    // the frame's own rules.
    void Install(CMainFrame& frame);

    void InverterWithDefault();
    void FileWithFile();
    void FilesWithDefault();

private:
    CMarbenApp& app_;
    CLinkCommands& link_;
    CFrameDocumentHost host_;
    LinkContext ctx_;
};

}  // namespace kolt
