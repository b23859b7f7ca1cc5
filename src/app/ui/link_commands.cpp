#include "app/ui/link_commands.h"

#include "base/command_ids.h"
#include "document/marben_doc.h"
#include "link/link_procedure.h"
#include "link/read_procedure.h"
#include "link/ui/link_dialog.h"
#include "link/ui/read_para_dialog.h"
#include "link/ui/write_para_dialog.h"
#include "link/write_procedure.h"
#include "view/ui/marben_view.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace kolt {

namespace {

// While this thread waits for the bus, no command may start in the middle of
// the job. With a modal window up (a progress window, a message box) input
// reaches only that window, as it would anyway. Without one (an online write,
// the single-station start) input for the other windows is held back and
// delivered in its order when the job has ended, as it waited in the queue
// while the line blocked the thread: a click is late, never lost.
class CInputShield : public QObject {
public:
    CInputShield() { qApp->installEventFilter(this); }
    ~CInputShield() override {
        qApp->removeEventFilter(this);
        for (auto& [receiver, event] : held_)
            if (receiver) QCoreApplication::postEvent(receiver, event.release());
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
            break;
        default:
            return false;
        }
        QWidget* modal = QApplication::activeModalWidget();
        // A window's own events reach its widgets next, and are judged there.
        if (!receiver->isWidgetType()) {
            if (event->type() != QEvent::Shortcut) return false;
        } else if (modal) {
            auto* widget = static_cast<QWidget*>(receiver);
            return !(widget == modal || modal->isAncestorOf(widget));
        }
        if (modal) return true;
        // Asked only whether a key is a shortcut: the key itself comes next.
        if (event->type() == QEvent::ShortcutOverride) return false;
        held_.emplace_back(QPointer<QObject>(receiver), std::unique_ptr<QEvent>(event->clone()));
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> held_;
};

// The document host of a procedure on the bus thread: the status panes and
// the monitor windows are the window thread's, so the calls go there (with
// the link state the procedure has reached). Procedures that open or close
// documents keep those steps on the window thread and never ask here.
class CBusDocumentHost : public IDocumentHost {
public:
    CBusDocumentHost(const CMarbenApp& busApp, CMarbenApp& app, CWindowThreadPrompts& prompts, IDocumentHost& host)
        : busApp_(busApp), app_(app), prompts_(prompts), host_(host) {}

    CMarbenDoc* ActiveDocument() override { return nullptr; }
    bool InPrintPreview() override { return false; }
    void CloseActiveDocument() override {}
    CMarbenDoc* CreateNewDocument() override { return nullptr; }
    void RefreshStatusPanes() override {
        prompts_.OnWindowThread([this] {
            TakeLinkState(busApp_, app_);
            host_.RefreshStatusPanes();
        });
    }
    void CloseMonitorWindows() override {
        prompts_.OnWindowThread([this] { host_.CloseMonitorWindows(); });
    }

private:
    const CMarbenApp& busApp_;
    CMarbenApp& app_;
    CWindowThreadPrompts& prompts_;
    IDocumentHost& host_;
};

}  // namespace

CLinkCommands::CLinkCommands(CMarbenApp& app, IPrompts& prompts)
    : app_(app), prompts_(prompts), bus_(&prompts_), host_(app),
      ctx_{app, bus_.Port(), prompts_, host_, &bus_.CancelFlag(), [this](const auto& work) { RunOnPort(work); }} {
    prompts_.SetCancelHook([this] { bus_.Cancel(); });
}

CLinkCommands::~CLinkCommands() {
    // Program end: a station still linked means the port is still open; the
    // bus closes it once its thread has ended.
    prompts_.Abandon();
    bus_.Shutdown();
    app_.linkedFlag = 0;
}

void CLinkCommands::RunOnPort(const std::function<void()>& work) {
    if (bus_.OnBusThread()) return work();
    QEventLoop loop;
    // Set under a lock of ours when the job is gone, whether it ran or the
    // bus dropped it: what the job wrote is this thread's from then on, and
    // the race checker sees it (Qt's own event queue it cannot see).
    std::mutex endedLock;
    bool ended = false;
    std::shared_ptr<void> quit(nullptr, [&](void*) {
        // Posted under the lock: the loop cannot go before the post is made.
        std::lock_guard lock(endedLock);
        ended = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    ++waiting_;
    {
        CInputShield shield;
        bus_.Post([&work, quit](CModbusPort&) { work(); });
        quit.reset();
        for (;;) {
            {
                std::lock_guard lock(endedLock);
                if (ended) break;
            }
            loop.exec();
        }
    }
    --waiting_;
}

bool CLinkCommands::RunOnBus(const std::function<void(LinkContext&)>& procedure, bool scan) {
    CMarbenApp busApp = app_;
    busApp.cancelFlag = 0;
    NestedFlagGuard busy(app_.busyFlag);
    std::optional<FlagGuard> scanning;
    if (scan) scanning.emplace(app_.scanFlag);
    CBusDocumentHost busHost(busApp, app_, prompts_, host_);
    RunOnPort([&] {
        LinkContext ctx{busApp, bus_.Port(), prompts_, busHost, &bus_.CancelFlag()};
        procedure(ctx);
    });
    TakeProcedureResults(busApp, app_);
    return !prompts_.Abandoned();
}

void CLinkCommands::CancelForClose() {
    prompts_.Abandon();
    bus_.Cancel();
}

ViewFactory CLinkCommands::WrapViewFactory(ViewFactory inner) {
    return [this, inner](CMarbenDoc& doc, QWidget* parent) -> QWidget* {
        QWidget* w = inner ? inner(doc, parent) : nullptr;
        if (auto* view = qobject_cast<CMarbenView*>(w)) {
            // The view writes its own online edits through our link; the frame
            // then shows the outcome (modified document, station).
            view->SetLinkContext(&ctx_);
            connect(view, &CMarbenView::onlineEditCommitted, this, [this] {
                if (CMainFrame* frame = host_.Frame()) frame->UpdateCommandUi();
            });
        }
        return w;
    };
}

void CLinkCommands::Install(CMainFrame& frame) {
    host_.SetFrame(&frame);
    frame.SetCommandHandler(cmd::kLink, [this] { Link(); });
    frame.SetCommandHandler(cmd::kRead, [this] { Read(); });
    frame.SetCommandHandler(cmd::kWrite, [this] { Write(); });
    connect(&frame, &CMainFrame::closing, this, &CLinkCommands::CancelForClose);
}

void CLinkCommands::Link() {
    if (app_.scanFlag || Waiting()) return;
    LinkRequest request;
    {
        FlagGuard busy(app_.busyFlag);
        CLinkDialog dialog(app_, host_.Frame());
        dialog.exec();
        request = dialog.request();
    }
    const bool scan = request.button == LinkButton::Link && request.stations.size() > 1;
    if (request.button != LinkButton::Close && beforeLink_) beforeLink_();
    RunOnBus([&](LinkContext& ctx) { RunLinkCommand(ctx, request); }, scan);
    host_.RefreshStatusPanes();
}

void CLinkCommands::Read() {
    if (!app_.linkedFlag || app_.busyFlag || Waiting()) return;
    ReadRequest request;
    {
        FlagGuard busy(app_.busyFlag);
        CReadParaDialog dialog(app_, host_.Frame());
        if (dialog.exec() != QDialog::Accepted) return;
        request = dialog.request();
    }
    FlagGuard busy(app_.busyFlag);
    if (!BeginReadCommand(ctx_, request)) return;
    // The drive's values land in the copy's read buffer; the document takes
    // them here, in one step, only when all of them have come.
    bool read = false;
    const bool open = RunOnBus([&](LinkContext& ctx) {
        read = ReadParameters(ctx, request.station, request.readF, request.readC);
    });
    if (open && read) FinishReadCommand(ctx_, request);
    host_.RefreshStatusPanes();
}

void CLinkCommands::Write() {
    CMarbenDoc* doc = host_.ActiveDocument();
    if (!doc || Waiting() || !CanStartWrite(ctx_, *doc)) return;
    WriteRequest request;
    {
        FlagGuard busy(app_.busyFlag);
        CWriteParaDialog dialog(app_, host_.Frame());
        if (dialog.exec() != QDialog::Accepted) return;
        request = dialog.request();
    }
    // The document window may have gone while the dialog was up.
    doc = host_.ActiveDocument();
    if (!doc) return;
    // The bus only reads the document; nothing here changes it meanwhile.
    RunOnBus([&](LinkContext& ctx) { RunWriteCommand(ctx, *doc, request); });
    host_.RefreshStatusPanes();
}

}  // namespace kolt
