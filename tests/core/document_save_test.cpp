#include "base/atomic_write.h"
#include "document/doc_commands.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <tuple>
#include <unistd.h>

using namespace kolt;
using namespace kolt::testing;
namespace fs = std::filesystem;

namespace {

// A saved, then edited document whose file on disk is `path`.
struct SavedDoc {
    CMarbenApp app;
    CMarbenDoc doc{app};
    std::string oldBytes;

    explicit SavedDoc(const std::string& path) {
        doc.OnNewDocument();
        doc.stationTitles[0] = "old";
        FakePrompts p;
        EXPECT_TRUE(WriteDocFile(doc, path, p));
        std::tie(doc.untitled, oldBytes, doc.stationTitles[0]) = std::tuple(0, ReadBytes(path), "new and longer");
        doc.SetModifiedFlag(true);
    }

    // A failed save shows one reason and leaves file and document as they were.
    void ExpectFailedSave(const FakePrompts& prompts, const std::string& target, int err) const {
        ExpectShown(prompts, {{"message", "Could not save " + target + ": " + std::strerror(err), "KOLT Quendal 1.2",
                               Icon::Error}});
        EXPECT_EQ(std::tuple(ReadBytes(doc.PathName()), doc.Title(), doc.IsModified(), app.busyFlag),
                  std::tuple(oldBytes, FileNameOf(doc.PathName()), true, 0));
    }
};

long FilesIn(const std::string& dir) {
    return std::distance(fs::directory_iterator(dir), fs::directory_iterator());
}

}  // namespace

TEST(DocumentSave, SaveReplacesTheFileAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("a.kpf");
    SavedDoc s(path);
    std::vector<std::string> saved;
    s.doc.onSaved = [&](const std::string& p) { saved.push_back(p); };
    FakePrompts prompts;
    ASSERT_TRUE(SaveDocument(s.doc, prompts));
    EXPECT_EQ(std::tuple(ReadBytes(path) == s.oldBytes, ReadBytes(path), FilesIn(dir.Path()), s.doc.IsModified(), saved),
              std::tuple(false, EncodeDocFile(ImageOfDocument(s.doc)), 1, false, std::vector{path}));
}

TEST(DocumentSave, UnreachableFolderFailsWithANamedReasonAndChangesNothing) {
    TempDir dir;
    SavedDoc s(dir.File("a.kpf"));
    WriteBytes(dir.File("plain"), "x");
    s.doc.onSaved = [](const std::string&) { ADD_FAILURE() << "reported as saved"; };
    for (const auto& [target, err] : {std::pair{dir.File("plain/b.kpf"), ENOTDIR},
                                      std::pair{dir.File("no-such-folder/b.kpf"), ENOENT}}) {
        FakePrompts prompts;
        prompts.savePaths.push_back(target);
        EXPECT_FALSE(SaveDocumentAs(s.doc, prompts));
        s.ExpectFailedSave(prompts, target, err);
        EXPECT_EQ(s.doc.PathName(), dir.File("a.kpf"));
    }
}

TEST(DocumentSave, WriteErrorMidFileLeavesTheOldFileByteIdentical) {
    // A file-size limit makes the write fail part-way, like a full disk, even for root.
    TempDir dir;
    const std::string path = dir.File("a.kpf");
    SavedDoc s(path);
    s.doc.printFields[kPrintRemark1] = std::string(3000, 'r');

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{1000, old.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    FakePrompts prompts;
    const bool ok = SaveDocument(s.doc, prompts);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    s.ExpectFailedSave(prompts, path, EFBIG);
    EXPECT_EQ(std::tuple(s.doc.PathName(), FilesIn(dir.Path())), std::tuple(path, 1));  // the temporary is gone
}

TEST(DocumentSave, ReplacingKeepsPermissionsWritesThroughLinksAndRespectsReadOnly) {
    TempDir dir;
    const std::string real = dir.File("real.kpf"), link = dir.File("link.kpf"), locked = dir.File("locked.kpf");
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    WriteBytes(real, "old");
    fs::permissions(real, perms);
    fs::create_symlink(real, link);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(link, "new", error)) << error;
    EXPECT_EQ(std::tuple(fs::is_symlink(link), ReadBytes(real), fs::status(real).permissions() & fs::perms::all),
              std::tuple(true, "new", perms));
    if (::geteuid() == 0) return;  // permissions do not stop root
    WriteBytes(locked, "old");
    fs::permissions(locked, fs::perms::owner_read);
    EXPECT_FALSE(ReplaceFileContents(locked, "new", error));
    EXPECT_EQ(std::tuple(error, ReadBytes(locked)), std::tuple(std::strerror(EACCES), "old"));
}
