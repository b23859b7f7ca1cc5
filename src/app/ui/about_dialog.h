// "About KOLT Quendal": icon, name and version, a picture and the maker's link.
#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;

namespace kolt {

class IPrompts;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(IPrompts& prompts, QWidget* parent = nullptr);

    // Opens the link's address; on failure the "cannot run" message. Tests
    // replace the opener to see both outcomes without a browser.
    void OpenLink();
    void SetOpener(std::function<bool(const QUrl&)> opener) { opener_ = std::move(opener); }
    QLabel* LinkLabel() const { return link_; }

private:
    IPrompts& prompts_;
    QLabel* link_;
    std::function<bool(const QUrl&)> opener_;
};

}  // namespace kolt
