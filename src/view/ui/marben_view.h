// The view of a parameter document: one parameter grid filling the window.
// An ordinary document shows all 111 parameters with editable settings; a
// compare document shows only the differing parameters, read-only.
#pragma once

#include "link/online_write.h"

#include <QPointer>
#include <QWidget>

#include <string>

namespace kolt {

class CDefParaDialog;
class CFindGotoDialog;
class CMarbenApp;
class CMarbenDoc;
class CParamGrid;
class IPrompts;

class CMarbenView : public QWidget, public IOnlineEditView {
    Q_OBJECT
public:
    // Builds the grid at once (the first update). The view also becomes the
    // document's refresh target after a drive read (the document's onRefreshView).
    CMarbenView(CMarbenDoc* doc, CMarbenApp* app, IPrompts* prompts, QWidget* parent = nullptr);
    ~CMarbenView() override;

    CMarbenDoc* GetDocument() const { return doc_; }
    CParamGrid* Grid() const;

    // Builds the grid from the document again: columns, header, rows, styles.
    void OnInitialUpdate();
    // After a drive read into the open document: flags, names and mode are
    // copied again, then every row's "Default" and "Setting" texts are rebuilt.
    void RefreshDefaultsAndSettings();

    // With a link context the view writes its own online edits: each
    // onlineEditCommitted runs the online write of that parameter. Without
    // one, whoever connects to the signal does it.
    void SetLinkContext(LinkContext* ctx) { linkContext_ = ctx; }

    // For online edit: the station the last online write went to.
    int Station() const { return station_; }
    void SetStation(int station) { station_ = station; }
    int CompareMode() const { return compareMode_; }

    // Undoes the last edit that went on line: value, cell text, modified flag.
    void RestoreOnlineEdit();
    // Puts `text` into the "Setting" cell of a data row (row = slot + 1).
    void ShowSettingTextInRow(int row, const std::string& text);
    // The display text of the document's setting of `number` into its row.
    void ShowSetting(int number);

    // The online write's view of this grid.
    void ShowSettingText(int number, const std::string& text) override;
    void RevertEdit() override { RestoreOnlineEdit(); }
    void FocusGrid() override;
    void Repaint() override;
    void RecordStation(int station) override { station_ = station; }

    // The data row of a parameter number in this view's grid; -1 when not shown.
    int RowOfNumber(int number) const;

    // Find (Find tab) and Go to (Go to tab): the view's one modeless "Find and
    // Go to" dialog, made on first use and shown again afterwards.
    void OnEditFind();
    void OnEditGoTo();
    CFindGotoDialog* FindGotoDialog() const;
    // The dialog's requests, carried out on the grid.
    void FindNext();
    void GoTo();

    // "Definite parameter": runs the dialog; while it is up the view knows it,
    // so that its edits are shown here and written to the station chosen there.
    void OnDefiniteParameter();
    CDefParaDialog* DefiniteDialog() const;

signals:
    // Posted after an accepted edit while online edit is on (never for F52 = 0).
    // It is always delivered later from the event loop, never inside the edit.
    void onlineEditCommitted(int number);
    // A setting edited in the definite dialog's grid, delivered later from
    // the event loop like onlineEditCommitted.
    void definiteEditCommitted(int number);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildOrdinaryRow(int row, int slot);
    void BuildCompareRow(int row, int slot);
    QString SettingText(int slot) const;
    void FitColumns();
    void ShowFindGoto(int tab);
    void OnFindGotoRequest(int kind);
    void OnDefiniteEdit(int number);
    // Focus and select a found row, as Find and Go to leave it.
    void FocusFoundRow(int row);

    CMarbenDoc* doc_;
    CMarbenApp* app_;
    IPrompts* prompts_;
    QPointer<CParamGrid> grid_;
    int compareMode_ = 0;
    int station_ = 1;
    LinkContext* linkContext_ = nullptr;
    QPointer<CFindGotoDialog> findGoto_;
    QPointer<CDefParaDialog> definite_;
    int definiteStation_ = 1;  // of the last definite dialog, for edits it left behind
};

}  // namespace kolt
