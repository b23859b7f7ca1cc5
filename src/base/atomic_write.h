// Replacing a file's contents so that a failure never loses the old file.
#pragma once

#include <string>
#include <string_view>

namespace kolt {

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`. On failure the old file is untouched, the temporary
// is removed and `error` holds the system's reason.
// An existing, writable file whose folder refuses the temporary file or the
// rename is written in place instead; should that write fail, its old bytes
// are written back.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace kolt
