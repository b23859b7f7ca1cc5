// The File menu's three compare commands in the window program: Inverter with
// Default, File with File and Files with Default, each after its dialog.
#pragma once

#include "app/ui/frame_document_host.h"
#include "link/link_context.h"

#include <QObject>

namespace kolt {

class CMainFrame;
class CModbusPort;

class CCompareCommands : public QObject {
    Q_OBJECT
public:
    // `port` is the program's one port (the link commands own it); Inverter
    // with Default reads the drive through it.
    CCompareCommands(CMarbenApp& app, IPrompts& prompts, CModbusPort& port);

    // Hands the three commands to the frame; they are enabled from then on by
    // the frame's own rules.
    void Install(CMainFrame& frame);

    void InverterWithDefault();
    void FileWithFile();
    void FilesWithDefault();

private:
    CMarbenApp& app_;
    CFrameDocumentHost host_;
    LinkContext ctx_;
};

}  // namespace kolt
