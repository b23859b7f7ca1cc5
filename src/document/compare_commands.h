// What the File with File and Files with Default commands do after OK in their
// dialogs: close the open document (its save question may abandon the
// command), fill the staging area and create the compare document.
#pragma once

#include "document/compare.h"

namespace kolt {

class IDocumentHost;

// The shared step before a document replaces the open one: with a document
// open, its Yes/No/Cancel save question, then its window closes without
// asking again. False: the user cancelled (or the save failed); the document
// stays open.
bool CloseCurrentDocument(IDocumentHost& host, IPrompts& prompts);

// True when the compare document was created. False when the save question
// abandoned the command (nothing changed) or no document could be made.
bool RunFileWithFileCommand(CMarbenApp& app, IPrompts& prompts, IDocumentHost& host, const FileWithFileData& data);
bool RunFilesWithDefaultCommand(CMarbenApp& app, IPrompts& prompts, IDocumentHost& host,
                                const FilesWithDefaultData& data);

}  // namespace kolt
