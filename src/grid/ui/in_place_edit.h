// The single-line editor that the grid opens over one cell while it is edited.
// It reports the end of the edit once (Tab, Enter, Escape or losing the focus)
// and is then deleted by the grid.
#pragma once

#include <QLineEdit>

#include <cstdint>

namespace kolt {

class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    CInPlaceEdit(const QString& text, QWidget* parent);

    // Parameter cells: every key passes the setting filter for this display
    // attribute and width, and the text is normalised when the edit ends.
    // Without it the editor takes any text.
    void SetParameterFilter(std::uint8_t attribute, int width);
    bool HasParameterFilter() const { return filtered_; }

    // One key as if typed (also the key that opened the editor).
    void TypeKey(QChar key);
    void TypeBackspace();

    const QString& InitialText() const { return initialText_; }
    bool Ended() const { return ended_; }

    // Ends the edit now, as the focus leaving would.
    void EndEdit();
    // Puts the starting text back and ends the edit as cancelled.
    void CancelEdit();

signals:
    // Emitted once. `text` is the final (normalised) text, `lastKey` the Qt key
    // that ended the edit (0 when the focus left).
    void editEnded(const QString& text, int lastKey, bool cancelled);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Finish(int key, bool cancelled);
    void ApplyFiltered(char key);
    // Alt with a letter, a digit or Backspace.
    static bool IsAltCombination(const QKeyEvent* key);
    // Ctrl+Z and Alt+Backspace: the text before the last change comes back.
    void Undo();

    QString initialText_;
    bool filtered_ = false;
    std::uint8_t attribute_ = 0;
    int width_ = 0;
    bool ended_ = false;
    QString undoText_;
    int undoCaret_ = 0;
    bool hasUndo_ = false;
};

}  // namespace kolt
