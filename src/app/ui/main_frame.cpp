#include "app/ui/main_frame.h"

#include "base/command_ids.h"
#include "app/frame_state.h"
#include "base/install_dir.h"
#include "base/settings.h"
#include "base/texts.h"
#include "app/ui/about_dialog.h"
#include "app/ui/child_frame.h"
#include "app/ui/command_table.h"
#include "app/ui/qt_prompts.h"
#include "catalogue/ui/model_type_dialog.h"
#include "document/doc_commands.h"
#include "grid/ui/in_place_edit.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace kolt {

namespace {

QIcon CommandIcon(const CommandSpec& c) {
    if (!*c.themeIcon)
        return {};
    const QString theme = QString::fromLatin1(c.themeIcon);
    if (QIcon::hasThemeIcon(theme))
        return QIcon::fromTheme(theme);
    return QIcon(QString::fromLatin1(c.bundledIcon));
}

QString ObjectNameFor(int id) { return QStringLiteral("command%1").arg(id); }

}  // namespace

CMainFrame::CMainFrame(CMarbenApp& app, QtPrompts& prompts, QSettings& store, ViewFactory makeView, QWidget* parent)
    : QMainWindow(parent), app_(app), prompts_(prompts), store_(store), makeView_(std::move(makeView)),
      recent_(cmd::kRecentFileCount) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(text::kAppTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/kolt.png")));
    recent_.Load(store_);

    workspace_ = new QMdiArea(this);
    workspace_->setObjectName(QStringLiteral("workspace"));
    workspace_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    workspace_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(workspace_);

    CreateActions();
    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
    // A remark from the link takes the prompt pane's place of "Ready" until the next
    // command (a passing status tip would wipe a mere status message); the tip holds
    // what a narrow window cuts off.
    prompts_.SetNoticeSink([this](const QString& t) {
        panes_[0]->setText(t);
        panes_[0]->setToolTip(t);
    });

    // The frame's own commands; the rest arrive with their windows.
    handlers_[cmd::kFileNew] = [this] { FileNew(); };
    handlers_[cmd::kFileOpen] = [this] { FileOpen(); };
    handlers_[cmd::kFileClose] = [this] { FileClose(); };
    handlers_[cmd::kFileSave] = [this] { FileSave(); };
    handlers_[cmd::kFileSaveAs] = [this] { FileSaveAs(); };
    handlers_[cmd::kAppExit] = [this] { close(); };
    handlers_[cmd::kAppAbout] = [this] { About(); };
    handlers_[cmd::kHelpContents] = [this] { HelpContents(); };
    handlers_[cmd::kOnlineEdit] = [this] { ToggleOnlineEdit(); };
    handlers_[cmd::kViewToolbar] = [this] { toolbar_->setHidden(!toolbar_->isHidden()); };
    handlers_[cmd::kViewStatusBar] = [this] { statusBar()->setHidden(!statusBar()->isHidden()); };
    for (int i = 0; i < cmd::kRecentFileCount; ++i)
        handlers_[cmd::kFileMru1 + i] = [this, i] { OpenRecentFile(i); };

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("monitorTimer"));
    timer_->setInterval(cmd::kMonitorTimerMs);
    connect(timer_, &QTimer::timeout, this, &CMainFrame::OnMonitorTimer);
    timer_->start();

    UpdateCommandUi();
}

CMainFrame::~CMainFrame() {
    timer_->stop();
    prompts_.SetNoticeSink({});
    // The document window (and its view) go before the frame's members.
    delete child_.data();
}

// ---------------------------------------------------------------- building

void CMainFrame::CreateActions() {
    for (const CommandSpec& c : kCommandTable) {
        auto* a = new QAction(QString::fromUtf8(c.menuText), this);
        a->setObjectName(ObjectNameFor(c.id));
        a->setData(c.id);
        const QString prompt = QString::fromUtf8(c.prompt);
        const int nl = prompt.indexOf(QLatin1Char('\n'));
        a->setStatusTip(nl < 0 ? prompt : prompt.left(nl));
        a->setToolTip(nl < 0 ? prompt : prompt.mid(nl + 1));
        if (*c.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
        a->setIcon(CommandIcon(c));
        a->setIconVisibleInMenu(false);
        a->setCheckable(c.checkable);
        connect(a, &QAction::triggered, this, [this, id = c.id] { RunCommand(id); });
        addAction(a);  // accelerators work with the menus closed
        actions_[c.id] = a;
    }
    for (int i = 0; i < cmd::kRecentFileCount; ++i) {
        auto* a = new QAction(this);
        a->setObjectName(ObjectNameFor(cmd::kFileMru1 + i));
        a->setData(cmd::kFileMru1 + i);
        a->setStatusTip(text::kPromptRecent);
        connect(a, &QAction::triggered, this, [this, id = cmd::kFileMru1 + i] { RunCommand(id); });
        recentActions_[i] = a;
        actions_[cmd::kFileMru1 + i] = a;
    }
}

void CMainFrame::BuildMenus() {
    const bool doc = child_ != nullptr;
    if (menusBuilt_ && doc == menusForDocument_)
        return;
    menusBuilt_ = true;
    menusForDocument_ = doc;
    QMenuBar* bar = menuBar();
    bar->setObjectName(doc ? QStringLiteral("menuDocument") : QStringLiteral("menuNoDocument"));
    const QList<QAction*> old = bar->actions();
    bar->clear();
    for (QAction* a : old)
        if (QMenu* m = a->menu()) {
            m->setObjectName(QString());
            for (QMenu* sub : m->findChildren<QMenu*>())
                sub->setObjectName(QString());
            m->deleteLater();  // it may be the menu whose command is running
        }

    auto add = [this](QMenu* m, int id) { m->addAction(actions_.at(id)); };
    auto menu = [this, bar](const char* title, const char* name) {
        QMenu* m = bar->addMenu(QString::fromUtf8(title));
        m->setObjectName(QString::fromLatin1(name));
        connect(m, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
        return m;
    };

    QMenu* file = menu(text::kMenuFile, "fileMenu");
    add(file, cmd::kFileNew);
    add(file, cmd::kFileOpen);
    if (doc)
        add(file, cmd::kFileClose);
    QMenu* compare = file->addMenu(QString::fromUtf8(text::kMenuCompare));
    compare->setObjectName(QStringLiteral("compareMenu"));
    connect(compare, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUi);
    add(compare, cmd::kCompareInverterDefault);
    add(compare, cmd::kCompareFileFile);
    add(compare, cmd::kCompareFilesDefault);
    file->addSeparator();
    if (doc) {
        add(file, cmd::kFileSave);
        add(file, cmd::kFileSaveAs);
        file->addSeparator();
        add(file, cmd::kPrintTitleSet);
        add(file, cmd::kFilePrintPreview);
        add(file, cmd::kFilePrint);
        file->addSeparator();
    }
    FillRecentMenu(file);
    connect(file, &QMenu::aboutToShow, this, [this, file] { FillRecentMenu(file); });
    file->addSeparator();
    add(file, cmd::kAppExit);

    QMenu* edit = menu(text::kMenuEdit, "editMenu");
    if (doc) {
        add(edit, cmd::kStationTitle);
        edit->addSeparator();
    }
    add(edit, cmd::kEditFind);
    add(edit, cmd::kGoTo);
    edit->addSeparator();
    add(edit, cmd::kDefiniteParameter);

    QMenu* op = menu(text::kMenuOperation, "operationMenu");
    add(op, cmd::kLink);
    add(op, cmd::kRead);
    if (doc)
        add(op, cmd::kWrite);
    add(op, cmd::kMonitor);
    op->addSeparator();
    add(op, cmd::kBackupBus);
    add(op, cmd::kRestoreBus);
    add(op, cmd::kBusDrift);
    op->addSeparator();
    add(op, cmd::kOnlineEdit);

    QMenu* view = menu(text::kMenuView, "viewMenu");
    add(view, cmd::kViewToolbar);
    add(view, cmd::kViewStatusBar);

    QMenu* help = menu(text::kMenuHelp, "helpMenu");
    add(help, cmd::kHelpContents);
    help->addSeparator();
    add(help, cmd::kAppAbout);
}

// The recent entries stand between two separators; with none, one disabled
// "Recent File" line holds their place.
void CMainFrame::FillRecentMenu(QMenu* file) {
    QAction* placeholder = file->findChild<QAction*>(QStringLiteral("recentPlaceholder"));
    if (!placeholder) {
        placeholder = new QAction(QString::fromUtf8(text::kRecentFileEmpty), file);
        placeholder->setObjectName(QStringLiteral("recentPlaceholder"));
        placeholder->setEnabled(false);
        file->addAction(placeholder);
    }
    const QStringList& files = recent_.Files();
    for (int i = 0; i < cmd::kRecentFileCount; ++i) {
        QAction* a = recentActions_[i];
        if (!file->actions().contains(a))
            file->insertAction(placeholder, a);
        a->setVisible(i < files.size());
        if (i < files.size())
            a->setText(RecentFileList::MenuText(i, files[i]));
    }
    placeholder->setVisible(files.isEmpty());
}

void CMainFrame::BuildToolbar() {
    toolbar_ = addToolBar(QString::fromUtf8(text::kToolbarTitle));
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setMovable(true);
    toolbar_->setIconSize(QSize(16, 16));
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : kToolbarLayout) {
        if (id == 0)
            toolbar_->addSeparator();
        else
            toolbar_->addAction(actions_.at(id));
    }
}

void CMainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int width = screen ? screen->geometry().width() : 1280;
    static constexpr const char* kNames[5] = {"promptPane", "versionPane", "linkPane", "modelPane", "editModePane"};
    for (int i = 0; i < 5; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QString::fromLatin1(kNames[i]));
        const int w = width * kPaneWidths[i].numerator / kPaneWidths[i].denominator;
        if (i == 0) {
            pane->setText(text::kReady);
            pane->setIndent(4);  // where the status bar draws the prompts that replace it
            pane->setMinimumWidth(w);
            bar->addWidget(pane, 1);
        } else {
            pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            pane->setFixedWidth(w);
            bar->addPermanentWidget(pane);
        }
        panes_[i] = pane;
    }
}

// ---------------------------------------------------------------- state

FrameFacts CMainFrame::Facts() const {
    FrameFacts f;
    if (CMarbenDoc* doc = Document()) {
        f.documentOpen = true;
        f.compareMode = doc->compareMode;
        f.viewExists = View() != nullptr;
        f.printPreview = printPreview_;
    }
    return f;
}

void CMainFrame::UpdateCommandUi() {
    BuildMenus();
    const FrameFacts facts = Facts();
    for (auto& [id, action] : actions_)
        action->setEnabled(handlers_.count(id) != 0 && CommandAllowed(id, app_, facts));
    actions_.at(cmd::kOnlineEdit)->setChecked(app_.settings.onlineEdit != 0);
    actions_.at(cmd::kViewToolbar)->setChecked(!toolbar_->isHidden());
    actions_.at(cmd::kViewStatusBar)->setChecked(!statusBar()->isHidden());
    RefreshStatusPanes();
}

void CMainFrame::RefreshStatusPanes() {
    const StatusTexts t = ComputeStatusTexts(app_, Document() != nullptr);
    panes_[1]->setText(QString::fromStdString(t.version));
    panes_[2]->setText(QString::fromStdString(t.link));
    panes_[3]->setText(QString::fromStdString(t.model));
    panes_[4]->setText(QString::fromStdString(t.editMode));
}

QAction* CMainFrame::Action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler) {
    if (handler)
        handlers_[id] = std::move(handler);
    else
        handlers_.erase(id);
    UpdateCommandUi();
}

void CMainFrame::RunCommand(int id) {
    UpdateCommandUi();  // the state may have moved since the menu was drawn
    QAction* a = Action(id);
    if (a && !a->isEnabled()) {
        if (a->isCheckable())
            UpdateCommandUi();  // undo the check mark Qt flipped
        return;
    }
    auto it = handlers_.find(id);
    if (it != handlers_.end()) {
        // A value still being typed into the grid belongs to the document
        // before Save, Close or Exit look at it.
        FinishEditing();
        auto handler = it->second;  // a handler may replace itself
        panes_[0]->setText(text::kReady);
        panes_[0]->setToolTip({});
        handler();
    }
    // A dialog may have swallowed the pointer's leaving its button: back to "Ready".
    statusBar()->clearMessage();
    UpdateCommandUi();
}

void CMainFrame::FinishEditing() {
    for (CInPlaceEdit* editor : findChildren<CInPlaceEdit*>())
        editor->EndEdit();
}

void CMainFrame::SetPrintPreview(bool on) {
    printPreview_ = on;
    UpdateCommandUi();
}

void CMainFrame::CloseMonitorWindows() {
    if (monitorWindow_)
        monitorWindow_->close();
    monitorWindow_ = nullptr;
}

void CMainFrame::OnMonitorTimer() {
    if (pollCycle_ && ShouldPoll(app_)) {
        FlagGuard busy(app_.busyFlag);
        pollCycle_();
    }
    // The idle-time refresh: the link state may have changed under a dialog.
    if (!app_.busyFlag)
        UpdateCommandUi();
}

// ---------------------------------------------------------------- documents

CMarbenDoc* CMainFrame::Document() const { return child_ ? child_->Document() : nullptr; }

QWidget* CMainFrame::View() const { return child_ ? child_->View() : nullptr; }

CMarbenDoc* CMainFrame::ShowDocument(std::unique_ptr<CMarbenDoc> doc) {
    if (!doc)
        return nullptr;
    CloseDocumentWindow();
    CMarbenDoc* d = doc.get();
    auto* frame = new CChildFrame(std::move(doc), [this](CMarbenDoc& document) {
        FinishEditing();
        return SaveIfModified(document, prompts_);
    });
    d->onSaved = [this, frame](const std::string& path) {
        AddRecent(QString::fromStdString(path));
        frame->UpdateCaption();
    };
    d->onRetitle = [this] { emit stationTitlesChanged(); };
    if (makeView_)
        frame->setWidget(makeView_(*d, frame));
    connect(frame, &CChildFrame::documentClosing, this, &CMainFrame::OnDocumentClosing);
    child_ = frame;
    printPreview_ = false;
    BuildMenus();  // before the window maximises, so its buttons join this menu bar
    workspace_->addSubWindow(frame);
    frame->showMaximized();
    workspace_->setActiveSubWindow(frame);
    if (QWidget* view = frame->View())
        view->setFocus();
    UpdateCommandUi();
    emit stationTitlesChanged();
    return d;
}

void CMainFrame::CloseDocumentWindow() {
    if (CChildFrame* frame = child_) {
        frame->CloseWithoutPrompt();
        if (child_ == frame) {  // the window refused; drop it all the same
            child_ = nullptr;
            frame->deleteLater();
        }
    }
    UpdateCommandUi();
}

void CMainFrame::OnDocumentClosing(CChildFrame* frame) {
    if (child_ == frame)
        child_ = nullptr;
    printPreview_ = false;
    UpdateCommandUi();
    emit stationTitlesChanged();
}

bool CMainFrame::CloseCurrentDocument() {
    if (!::kolt::CloseCurrentDocument(Document(), prompts_))
        return false;
    CloseDocumentWindow();
    return true;
}

void CMainFrame::AddRecent(const QString& path) {
    recent_.Add(path);
    recent_.Save(store_);
}

void CMainFrame::FileNew() {
    FlagGuard busy(app_.busyFlag);
    const CMarbenDoc* doc = Document();
    // At start-up the dialog comes before the frame shows: centre it on the screen then.
    CModelType dialog(doc ? doc->model : app_.currentModel, doc ? doc->hz50 : app_.settings.hz50,
                      isVisible() ? this : nullptr);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!CloseCurrentDocument())
        return;
    PrepareFileNew(app_, dialog.ModelIndex(), dialog.Hz50() != 0);
    ShowDocument(CreateNewDocument(app_));
}

void CMainFrame::FileOpen() {
    FlagGuard busy(app_.busyFlag);
    const auto path = prompts_.AskOpenPath(text::kOpenFilter, text::kDefaultExt);
    if (!path)
        return;
    if (!CloseCurrentDocument())
        return;
    if (!CheckOpenExtension(*path, prompts_))
        return;
    OpenFile(QString::fromStdString(*path), false);
}

bool CMainFrame::OpenFile(const QString& path, bool checkExtension) {
    const std::string p = path.toStdString();
    if (checkExtension && !CheckOpenExtension(p, prompts_))
        return false;
    std::unique_ptr<CMarbenDoc> doc = OpenDocumentFile(app_, p, prompts_);
    if (!doc)
        return false;
    AddRecent(QFileInfo(path).absoluteFilePath());
    ShowDocument(std::move(doc));
    return true;
}

void CMainFrame::OpenRecentFile(int index) {
    if (index < 0 || index >= recent_.Files().size())
        return;
    const QString path = recent_.Files()[index];
    if (!CloseCurrentDocument())
        return;
    FlagGuard busy(app_.busyFlag);
    if (!OpenFile(path, false)) {
        // An entry that no longer opens leaves the list.
        recent_.Remove(recent_.Files().indexOf(path));
        recent_.Save(store_);
    }
}

void CMainFrame::FileClose() {
    CMarbenDoc* doc = Document();
    if (doc && SaveIfModified(*doc, prompts_))
        CloseDocumentWindow();
}

bool CMainFrame::FileSave() { return SaveWith(SaveDocument); }

bool CMainFrame::FileSaveAs() { return SaveWith(SaveDocumentAs); }

bool CMainFrame::SaveWith(bool (*save)(CMarbenDoc&, IPrompts&)) {
    CMarbenDoc* doc = Document();
    if (!doc)
        return false;
    FlagGuard busy(app_.busyFlag);
    const bool ok = save(*doc, prompts_);
    if (child_)
        child_->UpdateCaption();
    return ok;
}

// ---------------------------------------------------------------- help, about, online edit

void CMainFrame::HelpContents() {
    // The desktop's opener reports success even for a missing file, so look first.
    const std::vector<std::string> folders = HelpFileFolders(app_.installDir, ExecutableFolder());
    const std::optional<std::string> path = FindHelpFile(folders);
    if (!path)
        prompts_.Message(HelpNotFoundMessage(folders), text::kAppTitle, Icon::Exclamation);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(*path))))
        prompts_.Message(HelpNotOpenedMessage(*path), text::kAppTitle, Icon::Exclamation);
}

void CMainFrame::About() {
    FlagGuard busy(app_.busyFlag);
    CAboutDlg dialog(prompts_, this);
    dialog.exec();
}

void CMainFrame::ToggleOnlineEdit() { app_.settings.onlineEdit = app_.settings.onlineEdit ? 0 : 1; }

// ---------------------------------------------------------------- closing

bool CMainFrame::WriteSettingsForClose() {
    if (app_.scanFlag)
        return false;
    if (CMarbenDoc* doc = Document(); doc && !SaveIfModified(*doc, prompts_))
        return false;
    const std::string path = app_.SettingsPath();
    if (std::string error; !WriteSettingsFile(path, app_.settings, &error)) {
        // No stays open, as the settings would otherwise be lost; Yes lets the
        // user out of a folder that will never be writable.
        const std::string question =
            std::string(text::kSettingsNotWritten) + path + ": " + error + "\n\n" + text::kCloseWithoutSettings;
        return prompts_.YesNo(question, text::kAppTitle, Icon::Error);
    }
    return true;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    FinishEditing();
    if (!WriteSettingsForClose()) {
        event->ignore();
        UpdateCommandUi();
        return;
    }
    timer_->stop();
    emit closing();
    CloseMonitorWindows();
    CloseDocumentWindow();
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
    // A maximised document window would add its title to the frame's; the
    // frame keeps the program title alone.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != QLatin1String(text::kAppTitle))
        setWindowTitle(text::kAppTitle);
    QMainWindow::changeEvent(event);
}

}  // namespace kolt
