// The shared layout of parameter files (.kpf) and compare files (.kcf):
// LF-terminated text lines and little-endian 32-bit integers.
#pragma once

#include "document/marben_doc.h"

#include <array>
#include <cstdint>
#include <istream>
#include <string>

namespace kolt {

class IPrompts;

// Longest text line a file may hold (without its LF). A longer line, or a file
// without line ends, is a format error; the reader never buffers more than this.
inline constexpr std::size_t kMaxFileLine = 4096;

// Byte offsets of a parameter file with empty titles and print fields.
inline constexpr std::size_t kOffsetType = 20;
inline constexpr std::size_t kOffsetCompareMode = 30;
inline constexpr std::size_t kOffsetModel = 34;
inline constexpr std::size_t kOffset50Hz = 38;
inline constexpr std::size_t kOffsetDiffers = 39;
inline constexpr std::size_t kOffsetValues = 339;
inline constexpr std::size_t kOffsetTitles = 1539;
inline constexpr std::size_t kOffsetPrintLines = 1793;
inline constexpr std::size_t kEmptyParameterFileSize = 1801;

// Everything a file holds. Fields a short file does not reach keep these start values.
struct DocFileImage {
    std::string versionLine;
    std::string docType;
    std::int32_t compareMode = 0;
    std::int32_t model = 0;
    std::uint8_t hz50 = 0;
    std::array<std::uint8_t, 3> present{};  // compare files only
    std::array<std::string, 3> names{};     // compare files only
    SlotFlags differs{};
    std::array<SlotValues, 3> values{};     // arrays 2 and 3 in compare files only
    std::array<std::string, kStationMax> stationTitles{};  // parameter files only
    std::array<std::string, kPrintFieldCount> printFields{};
};

enum class DocReadResult { Ok, BadFormat, OldVersion };

// The file image of a document; the type line follows the compare mode.
DocFileImage ImageOfDocument(const CMarbenDoc& doc);
// The file's bytes. An LF inside a text field would break the layout, so it is
// written as a blank.
std::string EncodeDocFile(const DocFileImage& image);

// Parses a file's bytes with every check of File Open, in its order.
DocReadResult DecodeDocFile(std::istream& in, DocFileImage& image);
// Files of versions 0.x and 1.0x: the first line's 10th character is '0' or its
// 10th to 12th are "1.0". A shorter line does not match.
bool IsOldVersionLine(const std::string& line);

// File Open's read (OnOpenDocument): shows the refusal messages through
// `prompts`, fills the document, sets title, path, not modified, not untitled,
// and copies compare mode, model and 50 Hz flag into the application.
bool ReadDocFile(CMarbenDoc& doc, const std::string& path, IPrompts& prompts);

// Writes the document to `path` without ever truncating the old file: a
// failure leaves the old file, the document's path, title and modified flag
// as they were and is reported through `prompts`. On success: title = file
// name, path, not modified, and onSaved(path).
bool WriteDocFile(CMarbenDoc& doc, const std::string& path, IPrompts& prompts);

// Name and extension of a path (the part after the last '/').
std::string FileNameOf(const std::string& path);

}  // namespace kolt
