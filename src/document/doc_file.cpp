#include "document/doc_file.h"

#include "base/prompts.h"
#include "base/texts.h"
#include "base/atomic_write.h"
#include "document/file_reading.h"

#include <fstream>

namespace kolt {

// ---- writing ----------------------------------------------------------------

static void PutLine(std::string& out, const std::string& line) {
    for (char c : line) out.push_back(c == '\n' ? ' ' : c);
    out.push_back('\n');
}

static void PutInt(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

DocFileImage ImageOfDocument(const CMarbenDoc& doc) {
    DocFileImage im;
    im.versionLine = doc.versionLine;
    im.docType = doc.compareMode == 0 ? text::kTypeParameter : text::kTypeCompare;
    im.compareMode = doc.compareMode;
    im.model = doc.model;
    im.hz50 = doc.hz50;
    for (int k = 0; k < 3; ++k) im.present[k] = static_cast<std::uint8_t>(doc.present[k] & 0xFF);
    im.names = doc.names;
    im.differs = doc.differs;
    im.values = doc.values;
    im.stationTitles = doc.stationTitles;
    im.printFields = doc.printFields;
    return im;
}

std::string EncodeDocFile(const DocFileImage& im) {
    const bool compare = im.compareMode != 0;
    std::string out;
    out.reserve(compare ? 4096 : 2048);
    PutLine(out, im.versionLine);
    PutLine(out, compare ? text::kTypeCompare : text::kTypeParameter);
    PutInt(out, im.compareMode);
    PutInt(out, im.model);
    out.push_back(static_cast<char>(im.hz50));
    if (compare) {
        for (std::uint8_t p : im.present) out.push_back(static_cast<char>(p));
        for (const auto& n : im.names) PutLine(out, n);
    }
    for (std::uint8_t d : im.differs) out.push_back(static_cast<char>(d));
    for (std::int32_t v : im.values[0]) PutInt(out, v);
    if (compare) {
        for (std::int32_t v : im.values[1]) PutInt(out, v);
        for (std::int32_t v : im.values[2]) PutInt(out, v);
    } else {
        for (const auto& t : im.stationTitles) PutLine(out, t);
    }
    for (const auto& f : im.printFields) PutLine(out, f);
    return out;
}

// ---- reading ----------------------------------------------------------------

using file_reading::GetByte;
using file_reading::GetInt;
using file_reading::GetLine;

bool IsOldVersionLine(const std::string& line) {
    if (line.size() >= 10 && line[9] == '0') return true;
    return line.size() >= 12 && line.compare(9, 3, "1.0") == 0;
}

DocReadResult DecodeDocFile(std::istream& in, DocFileImage& im) {
    if (!GetLine(in, im.versionLine) || im.versionLine.find("KOLT") == std::string::npos) return DocReadResult::BadFormat;
    if (!GetLine(in, im.docType)) return DocReadResult::BadFormat;
    const bool isParameter = im.docType == text::kTypeParameter;
    if (!isParameter && im.docType != text::kTypeCompare) return DocReadResult::BadFormat;

    GetInt(in, im.compareMode);
    GetInt(in, im.model);
    GetByte(in, im.hz50);
    if ((im.compareMode == 0) != isParameter) return DocReadResult::BadFormat;
    const bool compare = im.compareMode != 0;

    if (compare) {
        for (auto& p : im.present) GetByte(in, p);
        for (auto& n : im.names)
            if (!GetLine(in, n)) return DocReadResult::BadFormat;
    }
    for (auto& d : im.differs) GetByte(in, d);
    for (auto& v : im.values[0]) GetInt(in, v);
    if (compare) {
        for (auto& v : im.values[1]) GetInt(in, v);
        for (auto& v : im.values[2]) GetInt(in, v);
    } else {
        for (auto& t : im.stationTitles)
            if (!GetLine(in, t)) return DocReadResult::BadFormat;
    }
    for (auto& f : im.printFields)
        if (!GetLine(in, f)) return DocReadResult::BadFormat;

    if (IsOldVersionLine(im.versionLine)) return DocReadResult::OldVersion;
    return DocReadResult::Ok;
}

std::string FileNameOf(const std::string& path) {
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool ReadDocFile(CMarbenDoc& doc, const std::string& path, IPrompts& prompts) {
    std::ifstream in;
    if (!file_reading::OpenForReading(path, in, prompts)) return false;

    DocFileImage im;
    const DocReadResult r = DecodeDocFile(in, im);
    in.close();
    if (r == DocReadResult::BadFormat) {
        prompts.Message(text::kBadFormat, text::kOpenCaption, Icon::Error);
        return false;
    }
    if (r == DocReadResult::OldVersion) {
        prompts.Message(text::kOldVersionFile, text::kOpenCaption, Icon::Error);
        return false;
    }

    doc.compareMode = im.compareMode;
    doc.model = im.model;
    doc.hz50 = im.hz50;
    for (int k = 0; k < 3; ++k) doc.present[k] = im.present[k] != 0 ? 1 : 0;
    doc.names = im.names;
    doc.differs = im.differs;
    doc.values = im.values;
    doc.stationTitles = im.stationTitles;
    doc.printFields = im.printFields;

    CMarbenApp& app = doc.App();
    app.staging.compareMode = im.compareMode;
    app.currentModel = im.model;
    app.settings.hz50 = im.hz50 != 0 ? 1 : 0;

    doc.SetTitle(FileNameOf(path));
    doc.SetPathName(path);
    doc.SetModifiedFlag(false);
    doc.untitled = 0;
    if (doc.onRetitle) doc.onRetitle();
    return true;
}

bool WriteDocFile(CMarbenDoc& doc, const std::string& path, IPrompts& prompts) {
    std::string error;
    if (!ReplaceFileContents(path, EncodeDocFile(ImageOfDocument(doc)), error)) {
        prompts.Message(std::string(text::kSaveFailed) + path + ": " + error, text::kAppTitle, Icon::Error);
        return false;
    }
    doc.SetTitle(FileNameOf(path));
    doc.SetPathName(path);
    doc.SetModifiedFlag(false);
    if (doc.onSaved) doc.onSaved(path);
    return true;
}

}  // namespace kolt
