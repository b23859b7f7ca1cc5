// Replacing a file without ever leaving it half written: the new bytes go to a
// temporary file in the same folder, which is flushed and then renamed over the
// old one. On any failure the old file stays as it was and the temporary is removed.
#pragma once

#include <string>
#include <string_view>

namespace kolt {

bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace kolt
