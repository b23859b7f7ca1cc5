// The Operation menu's link commands in the window program: Link/Unlink, Read
// and Write, and the link the parameter views write their online edits
// through. Owns the bus, whose thread owns the program's one Modbus port and
// runs the procedures' transactions, and closes the port at the end when a
// station is still linked.
#pragma once

#include "app/ui/main_frame.h"
#include "app/ui/window_thread_prompts.h"
#include "link/bus.h"
#include "link/link_context.h"
#include "link/modbus_port.h"
#include "app/ui/frame_document_host.h"

#include <QObject>

#include <functional>

namespace kolt {

class CLinkCommands : public QObject {
    Q_OBJECT
public:
    // `prompts` answers for the procedures (the program's Qt prompts; a fake in tests).
    CLinkCommands(CMarbenApp& app, IPrompts& prompts);
    ~CLinkCommands() override;

    CModbusPort& Port() { return bus_.Port(); }
    CBus& Bus() { return bus_; }
    CWindowThreadPrompts& Prompts() { return prompts_; }
    // The window thread's context: its prompts go straight to the user, its
    // port calls (OnPort) run on the bus.
    LinkContext& Context() { return ctx_; }

    // Each parameter view the factory makes writes its online edits through
    // this object's link.
    ViewFactory WrapViewFactory(ViewFactory inner);
    // Hands Link, Read and Write to the frame; they are enabled from then on
    // by the frame's own rules. Closing the frame cancels the bus's work.
    void Install(CMainFrame& frame);

    void Link();
    void Read();
    void Write();

    // Runs `procedure` on the bus thread on a copy of the application state,
    // with the prompts carried to this thread, whose event loop runs on
    // meanwhile (input goes only to a modal window, as while any modal
    // window is up). Then the procedure's results (TakeProcedureResults) are
    // the application's. False when the window closed meanwhile: the caller
    // then leaves the documents alone. `scan`: the scan flag is up meanwhile.
    bool RunOnBus(const std::function<void(LinkContext&)>& procedure, bool scan = false);
    // Runs port calls on the bus thread and waits for them the same way.
    void RunOnPort(const std::function<void()>& work);
    // A bus job runs (this thread waits for it in its event loop).
    bool Waiting() const { return waiting_ != 0; }
    // The window is closing: the job in progress ends at once, a prompt it
    // waits for is answered as Cancel/Abort, and nothing more is shown.
    void CancelForClose();
    // Called before Link or Unlink starts its work on the bus (the monitor
    // ends its poll cycle in flight there, rather than make the link wait).
    void SetBeforeLink(std::function<void()> hook) { beforeLink_ = std::move(hook); }

private:
    CMarbenApp& app_;
    CWindowThreadPrompts prompts_;
    CBus bus_;
    CFrameDocumentHost host_;
    LinkContext ctx_;
    int waiting_ = 0;
    std::function<void()> beforeLink_;
};

}  // namespace kolt
