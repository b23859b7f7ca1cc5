// What the link procedures need from the window program: the open document,
// its window, and the status bar and monitor windows. The main window
// implements it; tests use a fake that keeps the document in memory.
#pragma once

namespace kolt {

class CMarbenDoc;

class IDocumentHost {
public:
    virtual ~IDocumentHost() = default;

    // The open document (parameter or compare), or nullptr when none is open.
    virtual CMarbenDoc* ActiveDocument() = 0;
    // The active document's view is showing print preview.
    virtual bool InPrintPreview() = 0;
    // Closes the active document's window without asking: the caller has
    // already run the save question.
    virtual void CloseActiveDocument() = 0;
    // The File New path without its dialogs: creates and shows a document that
    // initialises itself from the application (fresh-read flag, model, staging).
    // Returns the new document, or nullptr when none could be created.
    virtual CMarbenDoc* CreateNewDocument() = 0;

    // The status bar's station, version and model panes show the application's
    // link state again.
    virtual void RefreshStatusPanes() = 0;
    // Unlink: the single-station and all-station monitor windows close.
    virtual void CloseMonitorWindows() = 0;
};

}  // namespace kolt
