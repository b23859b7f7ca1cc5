// The decisions of the document commands (New, Open, Close, Save, Save As and
// the save-if-modified prompts). The window program only shows and forwards.
#pragma once

#include "document/marben_doc.h"

#include <memory>
#include <string>

namespace kolt {

class IPrompts;

// Save-if-modified with Yes, No and Cancel (Close, New, Open, compare commands,
// closing the main window). The busy flag is set while the box is shown.
// True: go on. False: the user cancelled, or the save chosen with Yes failed.
bool SaveIfModified(CMarbenDoc& doc, IPrompts& prompts);
// The same question with Yes and No only, for Read. Leaves the busy flag alone,
// and No leaves the modified flag as it is.
bool SaveIfModifiedYesNo(CMarbenDoc& doc, IPrompts& prompts);
// The question's text: 2001 + 2002 for a parameter document, 2002 for a compare.
std::string SavePromptText(const CMarbenDoc& doc);

// Save (57603): Save As while untitled (or without a path), else write to the
// document's path.
bool SaveDocument(CMarbenDoc& doc, IPrompts& prompts);
// Save As (57604): asks for a path (the title proposed, default suffix "kpf").
// Cancel or a failed write fails the save and leaves the document as it was.
bool SaveDocumentAs(CMarbenDoc& doc, IPrompts& prompts);

// Close current document: with a document open, its Yes/No/Cancel prompt.
// True: go on (the caller closes the document window). False: abandon.
bool CloseCurrentDocument(CMarbenDoc* doc, IPrompts& prompts);

// File New, step 4: the chosen model and frequency become the application's,
// and the staging area is cleared of any compare.
void PrepareFileNew(CMarbenApp& app, int model, bool hz50);
// A constructed and initialised new document (File New, compare commands, Read).
std::unique_ptr<CMarbenDoc> CreateNewDocument(CMarbenApp& app);

// File Open's extension test: "KPF" or "KCF" in any case passes; anything else
// shows the format message with the program title and an exclamation icon.
bool CheckOpenExtension(const std::string& path, IPrompts& prompts);
// Opens a file into a new document; nullptr (messages shown) on failure.
// Files named on the command line come here without the extension test.
std::unique_ptr<CMarbenDoc> OpenDocumentFile(CMarbenApp& app, const std::string& path, IPrompts& prompts);

}  // namespace kolt
