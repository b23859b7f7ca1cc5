#include "app/texts.h"
#include "document/atomic_write.h"
#include "document/doc_commands.h"
#include "document/doc_file.h"
#include "document_test_support.h"
#include "fake_prompts.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

using namespace kolt;
using kolt::testing::FakePrompts;
using kolt::testing::ReadBytes;
using kolt::testing::TempDir;
using kolt::testing::WriteBytes;

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
        doc.untitled = 0;
        oldBytes = ReadBytes(path);
        doc.stationTitles[0] = "new and longer";
        doc.SetModifiedFlag(true);
    }
};

int FilesIn(const std::string& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
    return n;
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
    EXPECT_NE(ReadBytes(path), s.oldBytes);
    EXPECT_EQ(ReadBytes(path), EncodeDocFile(ImageOfDocument(s.doc)));
    EXPECT_EQ(FilesIn(dir.Path()), 1);
    EXPECT_FALSE(s.doc.IsModified());
    EXPECT_EQ(saved, std::vector<std::string>{path});
}

TEST(DocumentSave, UnreachableFolderFailsWithANamedReasonAndChangesNothing) {
    TempDir dir;
    const std::string path = dir.File("a.kpf");
    SavedDoc s(path);
    WriteBytes(dir.File("plain"), "x");
    bool savedCalled = false;
    s.doc.onSaved = [&](const std::string&) { savedCalled = true; };

    struct Target {
        std::string path;
        std::string reason;
    };
    for (const Target& t : {Target{dir.File("plain/b.kpf"), std::strerror(ENOTDIR)},
                            Target{dir.File("no-such-folder/b.kpf"), std::strerror(ENOENT)}}) {
        FakePrompts prompts;
        prompts.savePaths.push_back(t.path);
        EXPECT_FALSE(SaveDocumentAs(s.doc, prompts));
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text, "Could not save " + t.path + ": " + t.reason);
        EXPECT_EQ(prompts.shown[0].caption, text::kAppTitle);
        EXPECT_EQ(prompts.shown[0].icon, Icon::Error);
        EXPECT_EQ(s.doc.PathName(), path);
        EXPECT_EQ(s.doc.Title(), "a.kpf");
        EXPECT_TRUE(s.doc.IsModified());
    }
    EXPECT_FALSE(savedCalled);
    EXPECT_EQ(ReadBytes(path), s.oldBytes);
    EXPECT_EQ(s.app.busyFlag, 0);
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
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    FakePrompts prompts;
    const bool ok = SaveDocument(s.doc, prompts);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Could not save " + path + ": " + std::strerror(EFBIG));
    EXPECT_EQ(ReadBytes(path), s.oldBytes);
    EXPECT_EQ(FilesIn(dir.Path()), 1);  // the temporary is gone
    EXPECT_TRUE(s.doc.IsModified());
    EXPECT_EQ(s.doc.PathName(), path);
}

TEST(DocumentSave, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    const std::string sub = dir.File("ro");
    std::filesystem::create_directory(sub);
    const std::string path = sub + "/a.kpf";
    SavedDoc s(path);
    std::filesystem::permissions(sub, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    FakePrompts prompts;
    EXPECT_FALSE(SaveDocument(s.doc, prompts));
    std::filesystem::permissions(sub, std::filesystem::perms::owner_all);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Could not save " + path + ": " + std::strerror(EACCES));
    EXPECT_EQ(ReadBytes(path), s.oldBytes);
}

TEST(DocumentSave, ReplacingKeepsPermissionsAndWritesThroughLinks) {
    TempDir dir;
    const std::string real = dir.File("real.kpf");
    WriteBytes(real, "old");
    std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    const std::string link = dir.File("link.kpf");
    std::filesystem::create_symlink(real, link);
    std::string error;
    ASSERT_TRUE(ReplaceFileContents(link, "new", error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "new");
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);

    EXPECT_FALSE(ReplaceFileContents(dir.Path(), "x", error));
    EXPECT_EQ(error, std::strerror(EISDIR));
}

TEST(DocumentSave, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    TempDir dir;
    const std::string path = dir.File("locked.kpf");
    WriteBytes(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    std::string error;
    EXPECT_FALSE(ReplaceFileContents(path, "new", error));
    EXPECT_EQ(error, std::strerror(EACCES));
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST(DocumentSave, SaveWithoutAPathAsksForOne) {
    TempDir dir;
    CMarbenApp app;
    CMarbenDoc doc(app);  // constructed, never named
    FakePrompts prompts;
    prompts.savePaths.push_back(dir.File("named.kpf"));
    ASSERT_TRUE(SaveDocument(doc, prompts));
    EXPECT_EQ(doc.PathName(), dir.File("named.kpf"));
    EXPECT_EQ(ReadBytes(dir.File("named.kpf")).size(), kEmptyParameterFileSize);
}
