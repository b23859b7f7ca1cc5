// "Monitor Message": a monitored station stopped answering. Continue keeps
// polling it, Abort (also Escape or the close box) gives it up.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace kolt {

class CMonErrorDialog : public QDialog {
    Q_OBJECT
public:
    explicit CMonErrorDialog(QWidget* parent = nullptr);

    // The two-line text shown when the dialog opens; empty until the caller sets it.
    void SetMessage(const QString& message) { message_ = message; }
    const QString& Message() const { return message_; }

    // Accepted for Continue, Rejected for Abort.
    int exec() override;

private:
    QString message_;
    QLabel* text_;
    QPushButton* continue_;
    QPushButton* abort_;
};

}  // namespace kolt
