// The window program's user prompts: Qt message boxes, the communication and
// write message windows, the progress window and the file dialogs.
#pragma once

#include "base/marben_app.h"
#include "base/prompts.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QFileDialog;
class QProgressBar;


namespace kolt {

// "Name (*.a; *.b)|*.a; *.b|...|" -> Qt name filters "Name (*.a *.b)", ...
QStringList QtNameFilters(const std::string& filter);

// Captions come from the string table with a trailing line feed ("Open\n");
// a window title cannot show one.
QString CaptionText(const std::string& caption);

class QtPrompts : public IPrompts {
public:
    explicit QtPrompts(CMarbenApp& app);
    ~QtPrompts() override;

    // The window the boxes are centred on (the main window once it exists).
    void SetParentWidget(QWidget* parent) { parent_ = parent; }
    QWidget* ParentWidget() const { return parent_; }

    void Message(const std::string& text, const std::string& caption, Icon icon) override;
    void CommMessage(const std::string& text) override;
    bool YesNo(const std::string& text, const std::string& caption, Icon icon) override;
    Answer YesNoCancel(const std::string& text, const std::string& caption, Icon icon) override;
    bool ContinueAbort(const std::string& text) override;
    bool MonitorError(const std::string& text) override;

    void ProgressOpen(bool cancellable) override;
    void ProgressRange(int low, int high) override;
    void ProgressStep() override;
    void ProgressText(const std::string& text) override;
    void ProgressClose() override;

    void PumpOne() override;
    // Handed to the sink (the main window's status bar); dropped without one.
    void Notice(const std::string& text) override;
    void SetNoticeSink(std::function<void(const QString&)> sink) { noticeSink_ = std::move(sink); }

    std::optional<std::string> AskSavePath(const std::string& filter, const std::string& defaultExt,
                                           const std::string& proposedName) override;
    std::optional<std::string> AskOpenPath(const std::string& filter, const std::string& defaultExt) override;

    // The open progress window, for tests; null when none is open.
    QDialog* ProgressWindow() const { return progress_; }

    // The folder the last file dialog ended in; the next one starts there.
    const QString& LastFolder() const { return lastFolder_; }
    void SetLastFolder(const QString& folder) { lastFolder_ = folder; }

private:
    // The main window once it shows, else none.
    QWidget* MainWindow() const;
    // The owner of a box or file dialog: the active window, else the main window.
    QWidget* Owner() const;
    void PaintProgress();
    std::optional<std::string> Chosen(QFileDialog& dlg);

    CMarbenApp& app_;
    QPointer<QWidget> parent_;
    std::function<void(const QString&)> noticeSink_;
    QPointer<QDialog> progress_;
    QLabel* progressLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QString lastFolder_;
};

}  // namespace kolt
