// Parameter and compare files come by mail and USB stick. File Open's own
// reader takes the bytes; a file it accepts must write back to bytes that read
// the same document, and a refused file must say why exactly once.
#include "base/marben_app.h"
#include "document/doc_file.h"
#include "document/marben_doc.h"
#include "fuzz_check.h"

#include <cstdint>
#include <sstream>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

using namespace kolt;

namespace {

// A memory file: regular, so the reader's own open and stat run as for a file on disk.
const std::string& InputPath() {
    static const std::string path = [] {
        const int fd = ::memfd_create("kolt-fuzz-doc", 0);
        FUZZ_CHECK(fd >= 0, "memfd_create");
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return path;
}

void PutInput(const std::uint8_t* data, std::size_t size) {
    const int fd = std::stoi(InputPath().substr(std::string("/proc/self/fd/").size()));
    FUZZ_CHECK(::ftruncate(fd, 0) == 0, "truncate the memory file");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        FUZZ_CHECK(n > 0, "write the memory file");
        done += static_cast<std::size_t>(n);
    }
}

DocReadResult Decode(const std::string& bytes, DocFileImage& image) {
    std::istringstream in(bytes);
    return DecodeDocFile(in, image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    PutInput(data, size);

    CMarbenApp app;
    CMarbenDoc doc(app);
    fuzz::QuietPrompts prompts;
    const bool opened = ReadDocFile(doc, InputPath(), prompts);

    DocFileImage direct;
    const DocReadResult result = Decode(input, direct);
    FUZZ_CHECK(opened == (result == DocReadResult::Ok), "the file reader and the byte decoder disagree");
    FUZZ_CHECK(prompts.messages == (opened ? 0 : 1), "a refusal shows one message, an open none");
    if (!opened) return 0;

    FUZZ_CHECK(app.currentModel == doc.model && app.staging.compareMode == doc.compareMode,
               "an open copies model and compare mode into the application");
    FUZZ_CHECK(app.settings.hz50 == (doc.hz50 != 0 ? 1 : 0), "an open copies the 50 Hz flag");
    for (int k = 0; k < 3; ++k) FUZZ_CHECK(doc.present[k] == 0 || doc.present[k] == 1, "present flags are 0/1");

    // Saved and read again: the same document.
    const std::string saved = EncodeDocFile(ImageOfDocument(doc));
    DocFileImage again;
    FUZZ_CHECK(Decode(saved, again) == DocReadResult::Ok, "a saved document reads back");
    FUZZ_CHECK(again.compareMode == doc.compareMode && again.model == doc.model && again.hz50 == doc.hz50,
               "header fields survive a save");
    for (int k = 0; k < 3; ++k) {
        FUZZ_CHECK(again.present[k] == doc.present[k], "present flags survive a save");
        FUZZ_CHECK(again.names[k] == doc.names[k], "source names survive a save");
    }
    FUZZ_CHECK(again.differs == doc.differs, "differs flags survive a save");
    FUZZ_CHECK(again.values[0] == doc.values[0], "settings survive a save");
    if (doc.compareMode != 0) {
        FUZZ_CHECK(again.values[1] == doc.values[1] && again.values[2] == doc.values[2],
                   "compare sources survive a save");
    } else {
        FUZZ_CHECK(again.stationTitles == doc.stationTitles, "station titles survive a save");
    }
    FUZZ_CHECK(again.printFields == doc.printFields, "print title fields survive a save");

    // The values and differs flags of the file are the ones the document holds.
    FUZZ_CHECK(direct.values[0] == doc.values[0] && direct.differs == doc.differs, "the open keeps the file's values");
    // A second save of what was read back gives the same bytes.
    FUZZ_CHECK(EncodeDocFile(again) == saved, "saving is stable");
    return 0;
}
