#include "document/compare_commands.h"

#include "base/document_host.h"
#include "document/doc_commands.h"

namespace kolt {

bool CloseCurrentDocument(IDocumentHost& host, IPrompts& prompts) {
    CMarbenDoc* doc = host.ActiveDocument();
    if (!CloseCurrentDocument(doc, prompts)) return false;
    if (doc) host.CloseActiveDocument();
    return true;
}

bool RunFileWithFileCommand(CMarbenApp& app, IPrompts& prompts, IDocumentHost& host, const FileWithFileData& data) {
    if (!CloseCurrentDocument(host, prompts)) return false;
    StageFileWithFile(app, data.files[0], data.files[1], data.differs);
    return host.CreateNewDocument() != nullptr;
}

bool RunFilesWithDefaultCommand(CMarbenApp& app, IPrompts& prompts, IDocumentHost& host,
                                const FilesWithDefaultData& data) {
    if (!CloseCurrentDocument(host, prompts)) return false;
    // The model and frequency go to the application only now: a cancelled
    // save question leaves the open document's model in place.
    StageFilesWithDefault(app, data);
    host.RefreshStatusPanes();
    return host.CreateNewDocument() != nullptr;
}

}  // namespace kolt
