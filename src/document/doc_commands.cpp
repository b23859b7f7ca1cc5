#include "document/doc_commands.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "document/doc_file.h"

#include <algorithm>
#include <cctype>

namespace kolt {

namespace {

bool SaveChosenWithYes(CMarbenDoc& doc, IPrompts& prompts) {
    return doc.untitled ? SaveDocumentAs(doc, prompts) : SaveDocument(doc, prompts);
}

}  // namespace

std::string SavePromptText(const CMarbenDoc& doc) {
    if (doc.IsCompare()) return text::kWantSave;
    return std::string(text::kFileModified) + text::kWantSave;
}

bool SaveIfModified(CMarbenDoc& doc, IPrompts& prompts) {
    if (!doc.IsModified()) return true;
    Answer answer;
    {
        NestedFlagGuard busy(doc.App().busyFlag);
        answer = prompts.YesNoCancel(SavePromptText(doc), text::kAppTitle, Icon::None);
    }
    switch (answer) {
    case Answer::Yes:
        return SaveChosenWithYes(doc, prompts);
    case Answer::No:
        doc.SetModifiedFlag(false);
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

bool SaveIfModifiedYesNo(CMarbenDoc& doc, IPrompts& prompts) {
    if (!doc.IsModified()) return true;
    if (!prompts.YesNo(SavePromptText(doc), text::kAppTitle, Icon::None)) return true;
    return SaveChosenWithYes(doc, prompts);
}

bool SaveDocument(CMarbenDoc& doc, IPrompts& prompts) {
    NestedFlagGuard busy(doc.App().busyFlag);
    // A document without a path has nowhere to go but the save dialog.
    if (doc.untitled || doc.PathName().empty()) return SaveDocumentAs(doc, prompts);
    if (!WriteDocFile(doc, doc.PathName(), prompts)) return false;
    doc.untitled = 0;
    return true;
}

bool SaveDocumentAs(CMarbenDoc& doc, IPrompts& prompts) {
    NestedFlagGuard busy(doc.App().busyFlag);
    const char* filter = doc.IsCompare() ? text::kSaveCompareFilter : text::kSaveParamFilter;
    const auto path = prompts.AskSavePath(filter, text::kDefaultExt, doc.Title());
    if (!path || path->empty()) return false;
    if (!WriteDocFile(doc, *path, prompts)) return false;
    doc.untitled = 0;
    return true;
}

bool CloseCurrentDocument(CMarbenDoc* doc, IPrompts& prompts) {
    if (doc == nullptr) return true;
    return SaveIfModified(*doc, prompts);
}

void PrepareFileNew(CMarbenApp& app, int model, bool hz50) {
    app.currentModel = model;
    app.settings.hz50 = hz50 ? 1 : 0;
    app.staging.compareMode = 0;
    app.staging.present.fill(0);
}

std::unique_ptr<CMarbenDoc> CreateNewDocument(CMarbenApp& app) {
    auto doc = std::make_unique<CMarbenDoc>(app);
    doc->OnNewDocument();
    return doc;
}

bool CheckOpenExtension(const std::string& path, IPrompts& prompts) {
    const std::string name = FileNameOf(path);
    const auto dot = name.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (ext == "KPF" || ext == "KCF") return true;
    prompts.Message(text::kBadFormat, text::kAppTitle, Icon::Exclamation);
    return false;
}

std::unique_ptr<CMarbenDoc> OpenDocumentFile(CMarbenApp& app, const std::string& path, IPrompts& prompts) {
    auto doc = std::make_unique<CMarbenDoc>(app);
    if (!doc->OnOpenDocument(path, prompts)) return nullptr;
    return doc;
}

}  // namespace kolt
