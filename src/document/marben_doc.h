// The in-memory parameter set: one parameter document or one comparison result.
#pragma once

#include "base/legacy_text.h"
#include "base/marben_app.h"
#include "catalogue/catalogue.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace kolt {

class IPrompts;

using SlotValues = std::array<std::int32_t, kSlotCount>;
using SlotFlags = std::array<std::uint8_t, kSlotCount>;

inline constexpr int kPrintFieldCount = 8;
// Order of the print title fields.
enum PrintField : int {
    kPrintTitle = 0,
    kPrintCompany,
    kPrintProgrammer,
    kPrintVersion,
    kPrintDate,
    kPrintRemark1,
    kPrintRemark2,
    kPrintRemark3,
};

class CMarbenDoc {
public:
    // Takes model, 50 Hz flag and linked flag from the application, then resets
    // and fills the limit tables. Title and path stay empty until New or Open.
    explicit CMarbenDoc(CMarbenApp& app);
    CMarbenDoc(const CMarbenDoc&) = delete;
    CMarbenDoc& operator=(const CMarbenDoc&) = delete;

    // values[0] is the setting array (source 1 of a compare); [1], [2] sources 2, 3.
    std::array<SlotValues, 3> values{};
    SlotValues defaults{};
    SlotValues minBySlot{}, minByNumber{};
    SlotValues maxBySlot{}, maxByNumber{};
    SlotValues widthBySlot{}, widthByNumber{};
    // Parameter document: slot in use. Compare document: the slot differs (gets a row).
    SlotFlags differs{};
    std::array<std::string, kStationMax> stationTitles{};  // entry k is station k + 1
    std::array<std::string, kPrintFieldCount> printFields{};
    std::int32_t model = 0;
    std::uint8_t hz50 = 1;
    std::int32_t compareMode = 0;  // 0 parameter document, 1..3 compare modes
    std::array<std::int32_t, 3> present{};
    std::array<std::string, 3> names{};
    std::uint8_t linked = 0;
    std::uint8_t untitled = 0;
    std::string versionLine;
    std::string docType;

    // Hooks the windows set. onRefreshView: the parameter view re-reads its
    // Default and Setting columns. onRetitle: the single-station monitor, when
    // open, shows the station title again. onSaved: a save wrote this path
    // (the window program puts it at the top of the recent-file list).
    std::function<void()> onRefreshView;
    std::function<void()> onRetitle;
    std::function<void(const std::string& path)> onSaved;

    // Framework part: title, full path, modified flag.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    const std::string& PathName() const { return path_; }
    void SetPathName(const std::string& path) { path_ = path; }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified = true) { modified_ = modified; }

    bool IsCompare() const { return compareMode != 0; }
    // How the text fields (titles, print texts, source names) read and are
    // written back: the settings' code page, used for edits when some field
    // of the document is in it.
    FieldCodec TextCodec() const;
    std::array<std::string, 3> NameTexts() const;
    std::array<std::string, kPrintFieldCount> PrintFieldTexts() const;
    CMarbenApp& App() const { return app_; }

    // Clears values, defaults, flags, titles, names and the compare mode.
    void Reset();
    void FillLimitTables();
    // Initialisation from the application's staging area (File New, compare
    // commands, a read with no document open). Always succeeds.
    bool OnNewDocument();
    // Refills the open document after a drive read into the read buffer.
    void ReloadFromApp();
    // Reads a parameter or compare file; messages go through `prompts`.
    bool OnOpenDocument(const std::string& path, IPrompts& prompts);

private:
    void ComputeDefaults();

    CMarbenApp& app_;
    std::string title_;
    std::string path_;
    bool modified_ = false;
};

}  // namespace kolt
