#include "document/marben_doc.h"

#include "base/texts.h"
#include "catalogue/models.h"
#include "document/doc_file.h"

#include <algorithm>

namespace kolt {

CMarbenDoc::CMarbenDoc(CMarbenApp& app) : app_(app) {
    versionLine = text::kVersionLine;
    docType = text::kTypeParameter;
    model = app.currentModel;
    hz50 = app.settings.hz50;
    linked = app.linkedFlag;
    untitled = 0;
    Reset();
    FillLimitTables();
}

void CMarbenDoc::Reset() {
    for (auto& v : values) v.fill(0);
    defaults.fill(0);
    differs.fill(0);
    for (auto& t : stationTitles) t.clear();
    for (auto& f : printFields) f.clear();
    for (auto& n : names) n.clear();
    compareMode = 0;
    present.fill(0);
    if (onRetitle) onRetitle();
}

void CMarbenDoc::FillLimitTables() {
    minBySlot.fill(0);
    maxBySlot.fill(0);
    widthBySlot.fill(0);
    for (const ParamDef& p : AllParams()) {
        const int slot = SlotOfNumber(p.number);
        minBySlot[slot] = minByNumber[p.number] = p.min;
        maxBySlot[slot] = maxByNumber[p.number] = p.max;
        widthBySlot[slot] = widthByNumber[p.number] = p.width;
    }
}

void CMarbenDoc::ComputeDefaults() {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int number = NumberOfSlot(slot);
        defaults[slot] = number < 0 ? 0 : DefaultValue(number, model, hz50 != 0);
    }
}

// The settings of a parameter document: the defaults, with the groups that were
// just read taken from the read buffer.
static void FillSettings(CMarbenDoc& doc, const CMarbenApp& app, bool fromReadBuffer) {
    const SlotValues& readBuffer = app.staging.values[0];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        doc.values[0][slot] = doc.defaults[slot];
        doc.differs[slot] = slot < kParamCount ? 1 : 0;
        if (!fromReadBuffer) continue;
        if ((slot < kFCount && app.readF) || (slot >= kFCount && slot < kParamCount && app.readC))
            doc.values[0][slot] = readBuffer[slot];
    }
}

bool CMarbenDoc::OnNewDocument() {
    title_ = text::kUntitled;
    untitled = 1;

    const CompareStaging& st = app_.staging;
    compareMode = st.compareMode;
    present = st.present;
    if (compareMode != 0) {
        names = st.names;
        modified_ = true;
    }

    ComputeDefaults();

    if (compareMode == 0) {
        FillSettings(*this, app_, app_.freshRead != 0);
        if (app_.freshRead) modified_ = true;
    } else {
        values = st.values;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            bool differ = false;
            switch (compareMode) {
            case 1:
                differ = values[0][slot] != defaults[slot];
                break;
            case 2:
                differ = st.differs[slot] != 0;
                break;
            default:  // 3: any present source away from the default; the files' slot flags do not count
                for (int k = 0; k < 3; ++k)
                    if (present[k] && values[k][slot] != defaults[slot]) differ = true;
                break;
            }
            differs[slot] = differ ? 1 : 0;
        }
    }

    app_.freshRead = 0;
    return true;
}

void CMarbenDoc::ReloadFromApp() {
    docType = text::kTypeParameter;
    model = app_.currentModel;
    hz50 = app_.settings.hz50;
    linked = app_.linkedFlag;
    // A drive holds values, model and frequency only: the titles typed for the
    // stations and the print title block are the user's and stay.
    auto titles = std::move(stationTitles);
    auto print = std::move(printFields);
    Reset();
    stationTitles = std::move(titles);
    printFields = std::move(print);
    FillLimitTables();
    compareMode = app_.staging.compareMode;
    present = app_.staging.present;
    ComputeDefaults();
    FillSettings(*this, app_, true);
    modified_ = true;
    if (onRefreshView) onRefreshView();
}

FieldCodec CMarbenDoc::TextCodec() const {
    FieldCodec codec{app_.settings.codePage, false};
    const auto notUtf8 = [](const std::string& t) { return !IsValidUtf8(t); };
    codec.legacy = std::any_of(stationTitles.begin(), stationTitles.end(), notUtf8) ||
                   std::any_of(printFields.begin(), printFields.end(), notUtf8) ||
                   std::any_of(names.begin(), names.end(), notUtf8);
    return codec;
}

std::array<std::string, 3> CMarbenDoc::NameTexts() const {
    const FieldCodec codec = TextCodec();
    return {codec.Text(names[0]), codec.Text(names[1]), codec.Text(names[2])};
}

std::array<std::string, kPrintFieldCount> CMarbenDoc::PrintFieldTexts() const {
    const FieldCodec codec = TextCodec();
    std::array<std::string, kPrintFieldCount> out;
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = codec.Text(printFields[i]);
    return out;
}

bool CMarbenDoc::OnOpenDocument(const std::string& path, IPrompts& prompts) {
    return ReadDocFile(*this, path, prompts);
}

}  // namespace kolt
