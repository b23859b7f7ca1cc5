// Text fields of parameter files (station titles, print title texts, source
// names) as bytes. Files written by a Windows program hold them in the
// system's code page (Windows-1252 in Western Europe, GBK or Big5 on Chinese
// systems), ours in UTF-8. A field is shown as UTF-8 when it is valid UTF-8,
// else decoded from the legacy code page; an untouched field keeps its bytes.
#pragma once

#include <optional>
#include <string>

namespace kolt {

inline constexpr const char* kDefaultCodePage = "CP1252";

// The name in upper case when the C library's iconv converts between it and
// UTF-8 both ways; "" for an unknown or malformed name.
std::string NormaliseCodePage(const std::string& name);

bool IsValidUtf8(const std::string& bytes);

// UTF-8 of `codePage` bytes; a byte sequence the code page does not define
// becomes U+FFFD.
std::string DecodeCodePage(const std::string& bytes, const std::string& codePage);
// `utf8` in `codePage`, or nothing when a character has no place in it.
std::optional<std::string> EncodeCodePage(const std::string& utf8, const std::string& codePage);

// How a document's text fields read and write.
struct FieldCodec {
    std::string codePage = kDefaultCodePage;
    // The document's text was in the code page (some field is not UTF-8):
    // edited fields are written in it too, so the Windows program still reads them.
    bool legacy = false;

    // The field as text to show (UTF-8).
    std::string Text(const std::string& bytes) const;
    // The bytes of a field the user typed: in the code page when the document
    // uses it and every character fits, else UTF-8.
    std::string Stored(const std::string& utf8) const;
};

}  // namespace kolt
