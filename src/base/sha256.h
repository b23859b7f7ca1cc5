// SHA-256 of a byte string, for the checksums a bus backup keeps of its files.
#pragma once

#include <string>
#include <string_view>

namespace kolt {

// The digest as 64 lower-case hex digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace kolt
