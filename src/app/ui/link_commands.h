// The Operation menu's link commands in the window program: Link/Unlink, Read
// and Write, and the link the parameter views write their online edits
// through. Owns the program's one Modbus port and closes it at the end when a
// station is still linked.
#pragma once

#include "app/ui/main_frame.h"
#include "link/link_context.h"
#include "link/modbus_port.h"
#include "app/ui/frame_document_host.h"

#include <QObject>

namespace kolt {

class CLinkCommands : public QObject {
    Q_OBJECT
public:
    // `prompts` answers for the procedures (the program's Qt prompts; a fake in tests).
    CLinkCommands(CMarbenApp& app, IPrompts& prompts);
    ~CLinkCommands() override;

    CModbusPort& Port() { return port_; }
    LinkContext& Context() { return ctx_; }

    // Each parameter view the factory makes writes its online edits through
    // this object's link.
    ViewFactory WrapViewFactory(ViewFactory inner);
    // Hands Link, Read and Write to the frame; they are enabled from then on
    // by the frame's own rules.
    void Install(CMainFrame& frame);

    void Link();
    void Read();
    void Write();

private:
    CMarbenApp& app_;
    CModbusPort port_;
    CFrameDocumentHost host_;
    LinkContext ctx_;
};

}  // namespace kolt
