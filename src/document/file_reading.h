// Reading the pieces of a parameter or compare file, never buffering more than
// one capped line.
#pragma once

#include "base/prompts.h"
#include "base/texts.h"
#include "document/doc_file.h"

#include <cstdint>
#include <fstream>
#include <istream>
#include <string>

#include <sys/stat.h>

namespace kolt::file_reading {

// Opens `path` for reading. A directory or device opens as a stream on Linux;
// only regular files are documents. False, after telling the user, otherwise.
inline bool OpenForReading(const std::string& path, std::ifstream& in, IPrompts& prompts) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) in.open(path, std::ios::binary);
    if (in.is_open()) return true;
    prompts.Message(text::kCannotOpenFile, text::kOpenCaption, Icon::Error);
    return false;
}

// Reads up to LF (dropped) or the end of the file. False when the line runs past
// kMaxFileLine; the rest of it is left unread.
inline bool GetLine(std::istream& in, std::string& line) {
    line.clear();
    for (;;) {
        const int c = in.get();
        if (c == std::char_traits<char>::eof() || c == '\n') return true;
        if (line.size() >= kMaxFileLine) return false;
        line.push_back(static_cast<char>(c));
    }
}

// A little-endian 32-bit value. False, with `v` untouched, when the file holds
// fewer than four more bytes.
inline bool GetInt(std::istream& in, std::int32_t& v) {
    unsigned char b[4];
    if (!in.read(reinterpret_cast<char*>(b), 4)) return false;
    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                                  (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
    return true;
}

inline bool GetByte(std::istream& in, std::uint8_t& v) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof()) return false;
    v = static_cast<std::uint8_t>(c);
    return true;
}

}  // namespace kolt::file_reading
