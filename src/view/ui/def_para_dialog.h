// "Definite parameter": the user's favourite parameters of the open document
// in a grid of their own (only Setting editable, by the parameter grid's
// rules), the station their online edits go to, and "&Add / Remove" for the
// list itself. The list goes back to the application when the dialog closes.
#pragma once

#include "link/online_write.h"
#include "view/definite_list.h"
#include "view/ui/param_grid.h"

#include <QDialog>
#include <QPointer>

class QComboBox;
class QPushButton;

namespace kolt {

class CMarbenApp;
class CMarbenDoc;
class IPrompts;

class CDefParaDialog : public QDialog, public IOnlineEditView {
    Q_OBJECT
public:
    CDefParaDialog(CMarbenDoc& doc, CMarbenApp& app, IPrompts& prompts, QWidget* parent = nullptr);

    CParamGrid* Grid() const { return grid_; }
    // The station chosen in "Station NO.:" (1..254).
    int Station() const { return station_; }
    const std::vector<DefiniteEntry>& List() const { return list_; }
    // The grid row of a parameter; -1 when the list does not show it.
    int RowOfNumber(int number) const;
    // Runs the "Add/Remove" dialog on the list; after OK the list, the
    // application's list and the grid take its result.
    void AddRemove();

    // The online write's view of this grid.
    void ShowSettingText(int number, const std::string& text) override;
    void RevertEdit() override;
    void FocusGrid() override;
    void Repaint() override;
    void RecordStation(int) override {}

    void done(int result) override;

signals:
    // A Setting cell passed the grid's checks; connect it queued, as it is a
    // posted message to the parameter view.
    void settingEdited(int number);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGrid();

    CMarbenDoc& doc_;
    CMarbenApp& app_;
    IPrompts& prompts_;
    std::vector<DefiniteEntry> list_;
    int station_ = 1;
    QComboBox* stations_ = nullptr;
    QPointer<CParamGrid> grid_;
};

}  // namespace kolt
