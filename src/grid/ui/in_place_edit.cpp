#include "grid/ui/in_place_edit.h"

#include "view/edit_rules.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>

namespace kolt {

CInPlaceEdit::CInPlaceEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent), initialText_(text) {
    setObjectName(QStringLiteral("gridInPlaceEdit"));
    setFrame(false);
    setDragEnabled(false);
    setAcceptDrops(false);  // a dropped text would bypass the filter
}

void CInPlaceEdit::SetParameterFilter(std::uint8_t attribute, int width) {
    filtered_ = true;
    attribute_ = attribute;
    width_ = width;
}

void CInPlaceEdit::ApplyFiltered(char key) {
    const std::string before = text().toStdString();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const int selLength = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    const TypedKeyResult r = FilterTypedKey(before, selStart, selLength, key, attribute_, width_);
    if (r.caret < 0) return;  // ignored: text and selection stay
    if (r.text != before) {
        undoText_ = text();
        undoCaret_ = cursorPosition();
        hasUndo_ = true;
    }
    setText(QString::fromStdString(r.text));
    setCursorPosition(r.caret);
}

bool CInPlaceEdit::IsAltCombination(const QKeyEvent* key) {
    if (!(key->modifiers() & Qt::AltModifier)) return false;
    const int k = key->key();
    return (k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9) || k == Qt::Key_Backspace;
}

void CInPlaceEdit::Undo() {
    if (ended_) return;
    if (!filtered_) {
        undo();
        return;
    }
    // One step, as an edit field's undo: a second undo takes the first back.
    if (!hasUndo_) return;
    const QString current = text();
    const int caret = cursorPosition();
    setText(undoText_);
    setCursorPosition(undoCaret_);
    undoText_ = current;
    undoCaret_ = caret;
}

void CInPlaceEdit::TypeKey(QChar key) {
    if (ended_) return;
    if (!filtered_) {
        insert(QString(key));
        return;
    }
    const char16_t c = key.unicode();
    if (c > 0x7e) return;  // nothing outside plain ASCII can be a digit or a point
    ApplyFiltered(static_cast<char>(c));
}

void CInPlaceEdit::TypeBackspace() {
    if (ended_) return;
    if (filtered_) ApplyFiltered(kKeyBackspace);
    else backspace();
}

bool CInPlaceEdit::event(QEvent* event) {
    // Alt with a letter or digit would reach the menus' mnemonics (Alt+F opens File)
    // before our key handler sees it and end the edit; while editing it is ours, and
    // swallowed there. So is Alt+Backspace, the editor's undo.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsAltCombination(key)) {
            event->accept();
            return true;
        }
    }
    // Tab ends the edit here instead of moving the focus to the next window.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event) {
    if (ended_) return;
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    switch (key) {
        case Qt::Key_Escape:
            setText(initialText_);
            Finish(key, true);
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Finish(key, false);
            return;
        default:
            break;
    }
    if ((mods & Qt::AltModifier) && key == Qt::Key_Backspace) {
        Undo();
        return;
    }
    if (mods & Qt::AltModifier) return;  // Alt combinations are swallowed while editing

    // The caret keys move inside the text and do not end the edit.
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            QLineEdit::keyPressEvent(event);
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return;
        default:
            break;
    }
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!filtered_) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Everything that changes the text goes through the filter, key by key.
    if (event->matches(QKeySequence::Paste)) {
        const QString clip = QApplication::clipboard()->text();
        for (QChar ch : clip) TypeKey(ch);
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        if (hasSelectedText()) {
            QApplication::clipboard()->setText(selectedText());
            ApplyFiltered(kKeyDelete);
        }
        return;
    }
    if (key == Qt::Key_Backspace) {
        ApplyFiltered(kKeyBackspace);
        return;
    }
    if (key == Qt::Key_Delete) {
        ApplyFiltered(kKeyDelete);
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        Undo();
        return;
    }
    if (mods & Qt::ControlModifier) return;  // no other editing shortcuts (redo, kill line ...)
    const QString typed = event->text();
    if (typed.size() == 1) TypeKey(typed.front());
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A pop-up (the input method, a tool tip) takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason) Finish(0, false);
}

void CInPlaceEdit::contextMenuEvent(QContextMenuEvent* event) {
    // Its Paste, Undo and Delete would go round the filter.
    if (filtered_) return;
    QLineEdit::contextMenuEvent(event);
}

void CInPlaceEdit::EndEdit() { Finish(0, false); }

void CInPlaceEdit::CancelEdit() {
    if (ended_) return;
    setText(initialText_);
    Finish(0, true);
}

void CInPlaceEdit::Finish(int key, bool cancelled) {
    if (ended_) return;
    ended_ = true;
    QString final = text();
    if (filtered_ && !cancelled) final = QString::fromStdString(NormaliseEditText(final.toStdString(), attribute_));
    emit editEnded(final, key, cancelled);
}

}  // namespace kolt
