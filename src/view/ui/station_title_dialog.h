// "Station Title": ten rows of the 254 station titles under a scroll bar
// (lines, pages, thumb, wheel), "&Clear", OK and Cancel. Works on a copy; the
// caller takes Titles() after OK.
#pragma once

#include "base/legacy_text.h"
#include "view/station_titles.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace kolt {

class CStationTitleDialog : public QDialog {
    Q_OBJECT
public:
    // `codec` shows the titles' bytes and stores what the user types.
    CStationTitleDialog(const StationTitles& titles, const FieldCodec& codec = {}, QWidget* parent = nullptr);

    // The working titles, the visible rows included.
    StationTitles Titles();
    int TopIndex() const { return pager_.Top(); }

    void accept() override;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    void StoreVisible();
    void FillRows();
    void OnScrollAction(int action);
    void MoveTo(int top);
    void Clear();

    StationTitlePager pager_;
    std::array<QLabel*, kTitleRows> labels_{};
    std::array<QLineEdit*, kTitleRows> edits_{};
    std::array<QString, kTitleRows> shown_{};  // what each edit was given
    QScrollBar* scroll_ = nullptr;
    FieldCodec codec_;
};

}  // namespace kolt
