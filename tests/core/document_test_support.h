// Helpers of the document tests: a scratch folder and whole-file reads/writes.
#pragma once

#include "document/doc_file.h"
#include "document/marben_doc.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace kolt::testing {

class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kolt-doc-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) != nullptr) path_ = tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::int32_t IntAt(const std::string& bytes, std::size_t offset) {
    std::uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(u);
}

// The bytes of a parameter file holding the given document's values.
inline std::string ParameterFileBytes(const SlotFlags& flags, const SlotValues& settings, int model = 0) {
    DocFileImage im;
    im.versionLine = "KOLT Ver:1.2.080324";
    im.model = model;
    im.hz50 = 1;
    im.differs = flags;
    im.values[0] = settings;
    return EncodeDocFile(im);
}

}  // namespace kolt::testing
