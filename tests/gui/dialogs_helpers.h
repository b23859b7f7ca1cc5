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

// Runs `act` on the active modal widget as soon as one that `matches` shows.
// Polls from the event loop, so it also works for windows opened deep inside
// a procedure that pumps events. When none shows up in time the test fails and
// whatever modal window is up is closed, so that a wrong turn cannot hang the run.
inline void WhenModalMatches(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> act,
                             std::string what, int tries = 500) {
    QTimer::singleShot(10, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && matches(modal)) return act(modal);
        if (tries > 0) return WhenModalMatches(matches, act, what, tries - 1);
        ADD_FAILURE() << "expected modal window " << what << " never showed";
        if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
    });
}

template <typename T>
void WhenModal(std::function<void(T*)> act) {
    WhenModalMatches([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                     [act](QWidget* w) { act(qobject_cast<T*>(w)); }, T::staticMetaObject.className());
}

}  // namespace kolt::testing
