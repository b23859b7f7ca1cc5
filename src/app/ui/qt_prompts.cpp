#include "app/ui/qt_prompts.h"

#include "base/texts.h"
#include "monitor/ui/mon_error_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace kolt {

namespace {

QMessageBox::Icon ToQtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A box takes the keyboard from the window that raised it; when the box goes,
// the window manager hands it to the box's owner, and this puts it back on the
// very widget that had it (the field being typed into, Find's text).
class FocusReturn {
public:
    FocusReturn() : widget_(QApplication::focusWidget()) {}
    ~FocusReturn() {
        if (!widget_ || !widget_->isVisible())
            return;
        widget_->window()->activateWindow();
        widget_->setFocus(Qt::OtherFocusReason);
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

private:
    QPointer<QWidget> widget_;
};

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
    const QStringList parts = Q(filter).split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        if (name.isEmpty())
            break;  // "||" ends the list
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        // The name already shows its patterns; Qt reads them from the brackets,
        // so the brackets must hold the blank-separated list.
        const int bracket = name.indexOf(QLatin1Char('('));
        if (bracket >= 0)
            name = name.left(bracket).trimmed();
        out << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

QString CaptionText(const std::string& caption) {
    QString c = Q(caption);
    while (c.endsWith(QLatin1Char('\n')))
        c.chop(1);
    return c;
}

QtPrompts::QtPrompts(CMarbenApp& app) : app_(app) {}

QWidget* QtPrompts::MainWindow() const {
    // Before the main window shows (start-up), a box owned by it would sit at
    // its unplaced corner; unowned boxes are centred on the screen.
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

QWidget* QtPrompts::Owner() const {
    // The window the user is working in raised the box (a monitor window, Find,
    // a dialog): the box sits over it, and the window manager gives that window
    // the keyboard back when the box goes. The progress window is no owner:
    // it closes right after the message that ends its run.
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && active != progress_.data())
        return active;
    return MainWindow();
}

QtPrompts::~QtPrompts() { delete progress_.data(); }

// The busy flag is up while a modal window waits for the user, so the timer
// and the commands leave the program alone.
void QtPrompts::Message(const std::string& text, const std::string& caption, Icon icon) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    QMessageBox box(ToQtIcon(icon), CaptionText(caption), Q(text), QMessageBox::Ok, Owner());
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

void QtPrompts::CommMessage(const std::string& text) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    QMessageBox box(QMessageBox::NoIcon, text::kCommCaption, Q(text), QMessageBox::NoButton, Owner());
    box.setObjectName(QStringLiteral("commMessage"));
    QPushButton* quit = box.addButton(text::kQuit, QMessageBox::AcceptRole);
    quit->setObjectName(QStringLiteral("quitButton"));
    box.setDefaultButton(quit);
    box.setEscapeButton(quit);
    box.exec();
}

bool QtPrompts::YesNo(const std::string& text, const std::string& caption, Icon icon) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    QMessageBox box(ToQtIcon(icon), CaptionText(caption), Q(text), QMessageBox::Yes | QMessageBox::No, Owner());
    box.setObjectName(QStringLiteral("yesNoBox"));
    return box.exec() == QMessageBox::Yes;
}

Answer QtPrompts::YesNoCancel(const std::string& text, const std::string& caption, Icon icon) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    QMessageBox box(ToQtIcon(icon), CaptionText(caption), Q(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Owner());
    box.setObjectName(QStringLiteral("yesNoCancelBox"));
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

bool QtPrompts::ContinueAbort(const std::string& text) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    QMessageBox box(QMessageBox::NoIcon, text::kWriteCaption, Q(text), QMessageBox::NoButton, Owner());
    box.setObjectName(QStringLiteral("continueAbortBox"));
    QPushButton* cont = box.addButton(text::kContinue, QMessageBox::AcceptRole);
    QPushButton* abort = box.addButton(text::kAbort, QMessageBox::RejectRole);
    cont->setObjectName(QStringLiteral("continueButton"));
    abort->setObjectName(QStringLiteral("abortButton"));
    box.setDefaultButton(cont);
    box.setEscapeButton(abort);
    box.exec();
    return box.clickedButton() == cont;
}

bool QtPrompts::MonitorError(const std::string& text) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    CMonErrorDialog dialog(Owner());
    dialog.SetMessage(Q(text));
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompts::ProgressOpen(bool cancellable) {
    ProgressClose();
    // Caption-less: a framed panel without a title bar. It belongs to the main
    // window, so the window manager keeps it above the window whose command runs.
    auto* w = new QDialog(MainWindow(), Qt::Dialog | Qt::FramelessWindowHint);
    w->setObjectName(QStringLiteral("progressWindow"));
    w->setAttribute(Qt::WA_DeleteOnClose);
    // Input elsewhere waits while a scan pumps messages for the Cancel button.
    w->setWindowModality(Qt::ApplicationModal);
    auto* frame = new QFrame(w);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    auto* outer = new QVBoxLayout(w);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(16, 14, 16, 14);
    progressLabel_ = new QLabel(frame);
    progressLabel_->setObjectName(QStringLiteral("progressText"));
    progressLabel_->setMinimumWidth(360);
    progressBar_ = new QProgressBar(frame);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    layout->addWidget(progressLabel_);
    layout->addWidget(progressBar_);
    if (cancellable) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        auto* cancel = new QPushButton(QStringLiteral("Cancel"), frame);
        cancel->setObjectName(QStringLiteral("progressCancel"));
        row->addWidget(cancel);
        layout->addLayout(row);
        // Seen only while the caller pumps messages between frames. Esc, or a
        // close by the window manager, is a Cancel too: the scan must not go on
        // without its window.
        QObject::connect(cancel, &QPushButton::clicked, w, &QDialog::reject);
        QObject::connect(w, &QDialog::rejected, w, [this] { app_.cancelFlag = 1; });
    }
    progress_ = w;
    w->show();
    w->raise();
    // A read or write blocks the event loop between steps: the window must be
    // mapped and exposed before the first step, or nothing of it is seen.
    QElapsedTimer waited;
    waited.start();
    while (progress_ && !(w->windowHandle() && w->windowHandle()->isExposed()) && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    PaintProgress();
}

void QtPrompts::PaintProgress() {
    // The window manager's requests (map, stacking, exposure) are answered
    // here, between the steps, so the window keeps showing the step it is at.
    if (progress_)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtPrompts::ProgressRange(int low, int high) {
    if (!progress_)
        return;
    progressBar_->setRange(low, high);
    progressBar_->setValue(low);
    progressBar_->repaint();
    PaintProgress();
}

void QtPrompts::ProgressStep() {
    if (!progress_)
        return;
    if (progressBar_->value() < progressBar_->maximum())
        progressBar_->setValue(progressBar_->value() + 1);
    progressBar_->repaint();
    PaintProgress();
}

void QtPrompts::ProgressText(const std::string& text) {
    if (!progress_)
        return;
    progressLabel_->setText(Q(text));
    progressLabel_->repaint();
    PaintProgress();
}

void QtPrompts::ProgressClose() {
    if (progress_) {
        // Closed by the program: no Cancel.
        QObject::disconnect(progress_.data(), &QDialog::rejected, nullptr, nullptr);
        progress_->close();  // deletes itself
        progress_ = nullptr;
    }
    progressLabel_ = nullptr;
    progressBar_ = nullptr;
}

void QtPrompts::Notice(const std::string& text) {
    if (noticeSink_) noticeSink_(QString::fromStdString(text));
}

void QtPrompts::PumpOne() { QCoreApplication::processEvents(); }

std::optional<std::string> QtPrompts::AskSavePath(const std::string& filter, const std::string& defaultExt,
                                                  const std::string& proposedName) {
    QFileDialog dlg(Owner());
    dlg.setObjectName(QStringLiteral("saveFileDialog"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilters(QtNameFilters(filter));
    dlg.setDefaultSuffix(Q(defaultExt));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!lastFolder_.isEmpty())
        dlg.setDirectory(lastFolder_);
    if (!proposedName.empty())
        dlg.selectFile(Q(proposedName));
    return Chosen(dlg);
}

std::optional<std::string> QtPrompts::AskOpenPath(const std::string& filter, const std::string& defaultExt) {
    QFileDialog dlg(Owner());
    dlg.setObjectName(QStringLiteral("openFileDialog"));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters(QtNameFilters(filter));
    dlg.setDefaultSuffix(Q(defaultExt));
    if (!lastFolder_.isEmpty())
        dlg.setDirectory(lastFolder_);
    return Chosen(dlg);
}

std::optional<std::string> QtPrompts::Chosen(QFileDialog& dlg) {
    NestedFlagGuard busy(app_.busyFlag);
    FocusReturn focus;
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dlg.selectedFiles().first();
    lastFolder_ = QFileInfo(path).absolutePath();  // the next dialog starts where this one ended
    return path.toStdString();
}

}  // namespace kolt
