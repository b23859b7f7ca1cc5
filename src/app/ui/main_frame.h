// The main window: menus (one layout without a document, one with), toolbar,
// five-pane status bar, the workspace holding the one document window, and
// the 400 ms monitor timer.
#pragma once

#include "app/frame_state.h"
#include "base/marben_app.h"
#include "app/ui/child_frame.h"
#include "app/ui/recent_files.h"
#include "document/marben_doc.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QSettings;
class QTimer;
class QToolBar;

namespace kolt {

class CChildFrame;
class IPrompts;
class QtPrompts;

// Makes the view of a document window (the parameter view in the program).
using ViewFactory = std::function<QWidget*(CMarbenDoc& doc, QWidget* parent)>;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `store` keeps the recent-file list; the frame does not own it.
    CMainFrame(CMarbenApp& app, QtPrompts& prompts, QSettings& store, ViewFactory makeView,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Application and document commands.
    void FileNew();
    void FileOpen();
    // Opens a file into a new document window; the extension test is File Open's only.
    bool OpenFile(const QString& path, bool checkExtension);
    void OpenRecentFile(int index);
    void FileClose();
    bool FileSave();
    bool FileSaveAs();
    void HelpContents();
    void About();
    void ToggleOnlineEdit();

    // Close current document: the save question, then the window closes. False: abandon.
    bool CloseCurrentDocument();
    // Shows a new document in a maximised child window (replacing none: close first).
    CMarbenDoc* ShowDocument(std::unique_ptr<CMarbenDoc> doc);
    // The window goes without asking.
    void CloseDocumentWindow();

    CMarbenDoc* Document() const;
    QWidget* View() const;
    CChildFrame* DocumentWindow() const { return child_; }

    // Commands whose windows live elsewhere are added here; until then they stay disabled.
    void SetCommandHandler(int commandId, std::function<void()> handler);
    bool HasCommandHandler(int commandId) const { return handlers_.count(commandId) != 0; }
    QAction* Action(int commandId) const;
    // Runs a command as a menu choice would, then refreshes the frame.
    void RunCommand(int commandId);
    // Ends a running in-place edit of the grid as a click elsewhere would.
    void FinishEditing();

    // One poll cycle of the monitor, run from the timer while a station is
    // linked, nothing else is busy and a monitor window is open.
    void SetPollCycle(std::function<void()> cycle) { pollCycle_ = std::move(cycle); }
    // The open monitor window, so that Unlink can close it.
    void SetMonitorWindow(QWidget* window) { monitorWindow_ = window; }
    void CloseMonitorWindows();
    // The view tells the frame when it enters and leaves print preview.
    void SetPrintPreview(bool on);
    bool InPrintPreview() const { return printPreview_; }

    // Enabling, check marks and the status panes, from the current state.
    void UpdateCommandUi();
    void RefreshStatusPanes();
    QLabel* StatusPane(int index) const { return panes_[index]; }
    QTimer* MonitorTimer() const { return timer_; }
    const RecentFileList& RecentFiles() const { return recent_; }

    // The settings writer that runs when the window is asked to close: false
    // when the close is refused (scan running, save cancelled, file not written).
    bool WriteSettingsForClose();

signals:
    // The station titles the monitor windows show may differ now: the titles
    // were edited, or a document was created, loaded or closed.
    void stationTitlesChanged();
    // The window is about to close (the settings are written): work on the
    // line must end now.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateActions();
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void FillRecentMenu(QMenu* menu);
    void OnMonitorTimer();
    void OnDocumentClosing(CChildFrame* frame);
    void AddRecent(const QString& path);
    // Save and Save As: `save` runs on the open document, then its caption follows.
    bool SaveWith(bool (*save)(CMarbenDoc&, IPrompts&));
    FrameFacts Facts() const;

    CMarbenApp& app_;
    QtPrompts& prompts_;
    QSettings& store_;
    ViewFactory makeView_;
    RecentFileList recent_;

    QMdiArea* workspace_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QTimer* timer_ = nullptr;
    std::array<QLabel*, 5> panes_{};
    std::map<int, QAction*> actions_;
    std::array<QAction*, 4> recentActions_{};
    std::map<int, std::function<void()>> handlers_;
    QPointer<CChildFrame> child_;
    bool menusForDocument_ = false;
    bool menusBuilt_ = false;
    bool printPreview_ = false;
    std::function<void()> pollCycle_;
    QPointer<QWidget> monitorWindow_;
};

}  // namespace kolt
