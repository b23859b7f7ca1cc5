// A main frame on its own temporary installation folder and recent-file store,
// with the real Qt prompts, for the frame tests.
#pragma once

#include "base/command_ids.h"
#include "base/marben_app.h"
#include "app/ui/main_frame.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/view_factory.h"
#include "catalogue/ui/model_type_dialog.h"
#include "dialogs_helpers.h"
#include "document/doc_commands.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

namespace kolt::testing {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { MakeFrame(ParameterViewFactory(app, prompts)); }
    void MakeFrame(ViewFactory views) {
        ASSERT_TRUE(dir.isValid());
        app.installDir = dir.path().toStdString();
        store = std::make_unique<QSettings>(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
        frame = std::make_unique<CMainFrame>(app, prompts, *store, std::move(views));
        prompts.SetParentWidget(frame.get());
    }

    CMarbenDoc* NewDocument() { return frame->ShowDocument(CreateNewDocument(app)); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString Pane(int i) const { return frame->StatusPane(i)->text(); }
    bool Enabled(int id) const { return frame->Action(id)->isEnabled(); }

    // Texts of a menu's visible entries; replaced menus lose their names, so
    // only the current one answers.
    QStringList Entries(const char* objectName) const {
        QStringList out;
        for (QAction* a : frame->menuBar()->findChild<QMenu*>(QString::fromLatin1(objectName))->actions())
            if (!a->isSeparator() && a->isVisible()) out << a->text();
        return out;
    }

    QTemporaryDir dir;
    CMarbenApp app;
    QtPrompts prompts{app};
    std::unique_ptr<QSettings> store;
    std::unique_ptr<CMainFrame> frame;
};

// Answers the next file dialog with `path` (or cancels it when empty), typed
// into the name field as a user would; `folder` gets the folder it started in.
inline void AnswerFileDialog(const QString& path, QString* folder = nullptr) {
    WhenModal<QFileDialog>([=](QFileDialog* d) {
        if (folder) *folder = d->directory().absolutePath();
        if (path.isEmpty()) return d->reject();
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, through the public base
    });
}

// Answers the next message box with `button`, keeping its text and title.
inline void AnswerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr, QString* title = nullptr) {
    WhenModal<QMessageBox>([=](QMessageBox* box) {
        if (text) *text = box->text();
        if (title) *title = box->windowTitle();
        QAbstractButton* b = box->button(button);
        (b ? b : box->buttons().first())->click();
    });
}

// Answers the next model dialog: keeps what it showed ("model/frequency index"),
// picks model and frequency index (-1 keeps them) and presses OK or Cancel.
inline void AnswerModelDialog(int model, int frequency, bool ok, QString* shown = nullptr) {
    WhenModal<CModelType>([=](CModelType* d) {
        auto* models = d->findChild<QComboBox*>(QStringLiteral("modelList"));
        auto* freqs = d->findChild<QComboBox*>(QStringLiteral("frequencyList"));
        if (shown) *shown = QStringLiteral("%1/%2").arg(models->currentIndex()).arg(freqs->currentIndex());
        if (model >= 0) models->setCurrentIndex(model);
        if (frequency >= 0) freqs->setCurrentIndex(frequency);
        ok ? d->accept() : d->reject();
    });
}

}  // namespace kolt::testing
