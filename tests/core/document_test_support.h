// Helpers of the document tests: a scratch folder and whole-file reads/writes.
#pragma once

#include "catalogue/models.h"
#include "document/doc_file.h"
#include "document/marben_doc.h"
#include "fake_prompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <tuple>

namespace kolt::testing {

// A scratch folder, removed with everything in it at the end of the test.
class TempDir {
public:
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    static std::string Make() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kolt-doc-XXXXXX").string();
        return ::mkdtemp(tmpl.data()) ? tmpl : throw std::runtime_error("mkdtemp failed");
    }
    std::string path_ = Make();
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every parameter slot flagged in use, and a model's factory defaults in every slot.
inline SlotFlags AllInUse() {
    SlotFlags f{};
    std::fill_n(f.begin(), kParamCount, 1);
    return f;
}
inline SlotValues DefaultSettings(int model, bool hz50) {
    SlotValues v{};
    for (int slot = 0; slot < kParamCount; ++slot) v[slot] = DefaultValue(NumberOfSlot(slot), model, hz50);
    return v;
}

// The bytes of a parameter file holding the given slot flags and settings.
inline std::string ParameterFileBytes(const SlotFlags& flags, const SlotValues& settings) {
    DocFileImage im;
    im.versionLine = "KOLT Ver:1.2.080324";
    im.hz50 = 1;
    im.differs = flags;
    im.values[0] = settings;
    return EncodeDocFile(im);
}

// The prompts shown, field by field.
inline void ExpectShown(const FakePrompts& prompts, const std::vector<Shown>& expected) {
    const auto rows = [](const std::vector<Shown>& shown) {
        std::vector<std::tuple<std::string, std::string, std::string, Icon>> out;
        for (const Shown& s : shown) out.emplace_back(s.kind, s.text, s.caption, s.icon);
        return out;
    };
    EXPECT_EQ(rows(prompts.shown), rows(expected));
}

}  // namespace kolt::testing
