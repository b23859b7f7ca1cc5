// Helpers for driving modal windows from tests: a queued action runs once the
// modal window is up, then the test's exec() returns.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace kolt::testing {

// Runs `act` on the active modal widget as soon as one of type T is showing.
// Polls from the event loop, so it also works for windows opened deep inside
// a procedure that pumps events. When none shows up in time the test fails and
// whatever modal window is up is closed, so that a wrong turn cannot hang the run.
template <typename T>
void WhenModal(std::function<void(T*)> act, int tries = 500) {
    QTimer::singleShot(10, [act, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* w = qobject_cast<T*>(modal); w && w->isVisible()) {
            act(w);
            return;
        }
        if (tries > 0) {
            WhenModal<T>(act, tries - 1);
            return;
        }
        ADD_FAILURE() << "expected modal window " << T::staticMetaObject.className() << " never showed";
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
}

// The same for the modal window with this object name (any widget class).
inline void WhenModalNamed(const QString& name, std::function<void(QWidget*)> act, int tries = 500) {
    QTimer::singleShot(10, [name, act, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == name && modal->isVisible()) {
            act(modal);
            return;
        }
        if (tries > 0) {
            WhenModalNamed(name, act, tries - 1);
            return;
        }
        ADD_FAILURE() << "expected modal window " << name.toStdString() << " never showed";
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
}

// Runs the event loop until `done` holds or about `ms` milliseconds have passed.
inline bool SpinUntil(const std::function<bool()>& done, int ms = 5000) {
    for (int waited = 0; waited < ms; waited += 5) {
        if (done()) return true;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qWait(5);
    }
    return done();
}

// The button of a message box whose text is `label` (mnemonics included), or nullptr.
inline QAbstractButton* ButtonByText(QMessageBox* box, const QString& label) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == label) return b;
    return nullptr;
}

}  // namespace kolt::testing
