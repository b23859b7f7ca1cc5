// A main frame on its own temporary installation folder and recent-file store,
// with the real Qt prompts, for the frame tests.
#pragma once

#include "app/marben_app.h"
#include "app/ui/main_frame.h"
#include "app/ui/qt_prompts.h"
#include "app/ui/view_factory.h"
#include "dialogs_helpers.h"
#include "document/doc_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kolt::testing {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app.installDir = dir.path().toStdString();
        store = std::make_unique<QSettings>(dir.filePath(QStringLiteral("recent.ini")), QSettings::IniFormat);
        frame = std::make_unique<CMainFrame>(app, prompts, *store, ParameterViewFactory(app, prompts));
        prompts.SetParentWidget(frame.get());
    }
    void TearDown() override {
        frame.reset();  // the document goes without a question
    }

    CMarbenDoc* NewDocument() { return frame->ShowDocument(CreateNewDocument(app)); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString Pane(int i) const { return frame->StatusPane(i)->text(); }
    bool Enabled(int id) const { return frame->Action(id)->isEnabled(); }

    // Texts of a menu's visible entries, sub-menus by their title.
    static QStringList Entries(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible())
                out << a->text();
        return out;
    }
    QMenu* Menu(const char* objectName) const {
        // Replaced menus lose their names, so only the current one answers.
        return frame->menuBar()->findChild<QMenu*>(QString::fromLatin1(objectName));
    }
    QStringList MenuTitles() const {
        QStringList out;
        for (QAction* a : frame->menuBar()->actions())
            out << a->text();
        return out;
    }

    QTemporaryDir dir;
    CMarbenApp app;
    QtPrompts prompts{app};
    std::unique_ptr<QSettings> store;
    std::unique_ptr<CMainFrame> frame;
};

// Answers the next file dialog with `path` (or cancels it when empty).
inline void AnswerFileDialog(const QString& path) {
    WhenModal<QFileDialog>([path](QFileDialog* d) {
        if (path.isEmpty()) {
            d->reject();
            return;
        }
        // Typed into the name field, as a user would: selectFile() with another
        // folder finishes only when that folder has loaded.
        auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(path);
        static_cast<QDialog*>(d)->accept();  // QFileDialog::accept, through the public base
    });
}

// Answers the next message box with the button of `role`, keeping its text and title.
inline void AnswerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr, QString* title = nullptr) {
    WhenModal<QMessageBox>([=](QMessageBox* box) {
        if (text)
            *text = box->text();
        if (title)
            *title = box->windowTitle();
        if (QAbstractButton* b = box->button(button))
            b->click();
        else
            box->buttons().first()->click();
    });
}

}  // namespace kolt::testing
