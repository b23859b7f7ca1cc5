// "Monitor All Station": five stations side by side, a page at a time. The
// scroll bar (pages 0..50), the wheel and Page Up/Page Down change the page;
// each panel's Link/Unlink adds its station to the poll or removes it.
#pragma once

#include "monitor/monitor_engine.h"
#include "monitor/ui/mon_single_dialog.h"

#include <QDialog>

#include <array>

class QScrollBar;

namespace kolt {

class CMonitorPanel;

class CMonMultiDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPanels = 5;
    static constexpr int kLastPage = 50;
    static constexpr int kPageStep = 10;  // a scroll page, Page Up / Page Down
    static constexpr int kWheelLines = 3;  // line steps per wheel notch of 120

    CMonMultiDialog(CMonitorEngine& engine, const std::uint8_t& busyFlag, int page, StationTitleSource titles,
                    QWidget* parent = nullptr);

    int Page() const { return page_; }
    // Moves to `page` (kept within 0..50) and redraws every panel.
    void SetPage(int page);
    CMonitorPanel* Panel(int k) const { return panels_[static_cast<std::size_t>(k)]; }
    QScrollBar* ScrollBar() const { return scroll_; }

    // The panels' display fields from the station monitor table.
    void Refresh();
    // Empties and disables the panel of `station` when it is on this page.
    void ClearPanel(int station);
    // The five station labels again from the open document's station titles.
    void Relabel();

signals:
    void closed();
    // A panel's "Trend" was pressed for `station`.
    void trendRequested(int station);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    int StationOf(int k) const { return kPanels * page_ + k + 1; }
    void ShowPanel(int k);
    void LinkPanel(int k);
    void UnlinkPanel(int k);
    void Wheel(int delta);

    CMonitorEngine& engine_;
    StationTitleSource titles_;
    int page_ = 0;
    int wheelRest_ = 0;  // a fine wheel's rotation not yet worth a line step
    std::array<CMonitorPanel*, kPanels> panels_{};
    // The "Fun. no." position chosen for each station, kept across pages.
    std::array<int, kMonitorRecords> positions_{};
    QScrollBar* scroll_;
    bool closing_ = false;
};

}  // namespace kolt
