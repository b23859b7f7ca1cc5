// Saving into a folder that takes no new files: the file is written in place.
// Folder rights do not stop root, so as root each case runs in a child process
// that has become an ordinary user.
#include "as_ordinary_user.h"
#include "base/atomic_write.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kolt;
using namespace kolt::testing;
namespace fs = std::filesystem;

namespace {

std::string Replace(const std::string& path, const std::string& bytes) {
    std::string error;
    return ReplaceFileContents(path, bytes, error) ? "saved" : "failed: " + error;
}

// A folder the ordinary user may enter and read but not add to, holding `name`
// with the given bytes, writable by everybody.
struct LockedFolder {
    TempDir dir;
    std::string folder = dir.File("locked");
    std::string file = folder + "/koltinf.ini";
    ino_t inode = 0;

    // Folder rwxr-xr-x unless told otherwise; the file rw-rw-rw-.
    explicit LockedFolder(const std::string& bytes, fs::perms folderPerms = fs::perms(0755)) {
        fs::permissions(dir.Path(), fs::perms(0705));
        fs::create_directory(folder);
        WriteBytes(file, bytes);
        fs::permissions(file, fs::perms(0666));
        inode = Inode();
        // Not even the owner may add files, so the case holds for an ordinary user too.
        if (::geteuid() != 0) folderPerms &= ~fs::perms::owner_write;
        fs::permissions(folder, folderPerms);
    }
    ~LockedFolder() { fs::permissions(folder, fs::perms::owner_all); }

    ino_t Inode() const {
        struct stat st {};
        ::stat(file.c_str(), &st);
        return st.st_ino;
    }
};

}  // namespace

TEST(SaveInPlace, WritableFileInAFolderThatTakesNoNewFilesIsWrittenWhereItIs) {
    LockedFolder locked("BaudRate=38400\r\n");
    EXPECT_EQ(AsOrdinaryUser([&] { return Replace(locked.file, "BaudRate=9600\r\nParity=2\r\n"); }), "saved");
    EXPECT_EQ(std::pair(ReadBytes(locked.file), locked.Inode()), std::pair(std::string("BaudRate=9600\r\nParity=2\r\n"), locked.inode));
    // Shorter contents cut the file to their length.
    EXPECT_EQ(AsOrdinaryUser([&] { return Replace(locked.file, "x"); }), "saved");
    EXPECT_EQ(std::pair(ReadBytes(locked.file), std::distance(fs::directory_iterator(locked.folder), fs::directory_iterator())),
              std::pair(std::string("x"), std::ptrdiff_t{1}));
    // A file that is not there yet cannot be made there: the folder's reason is told.
    EXPECT_EQ(AsOrdinaryUser([&] { return Replace(locked.folder + "/new.kpf", "x"); }),
              std::string("failed: ") + std::strerror(EACCES));
}

TEST(SaveInPlace, FailedInPlaceWritePutsTheOldBytesBack) {
    const std::string old = "old contents that must survive\r\n";
    LockedFolder locked(old);
    // A file-size limit makes the write fail part-way, like a full disk.
    const std::string result = AsOrdinaryUser([&] {
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        auto handler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{100, saved.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &small);
        std::string r = Replace(locked.file, std::string(500, 'n'));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
        return r;
    });
    EXPECT_EQ(std::pair(result, ReadBytes(locked.file)), std::pair(std::string("failed: ") + std::strerror(EFBIG), old));
}

TEST(SaveInPlace, SomeoneElsesFileInASharedStickyFolderIsWrittenInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs a file of another user";
    // Anyone may add files here, but only a file's owner may rename over it.
    LockedFolder shared("theirs", fs::perms::all | fs::perms::sticky_bit);
    EXPECT_EQ(AsOrdinaryUser([&] { return Replace(shared.file, "mine"); }), "saved");
    EXPECT_EQ(std::pair(ReadBytes(shared.file), std::distance(fs::directory_iterator(shared.folder), fs::directory_iterator())),
              std::pair(std::string("mine"), std::ptrdiff_t{1}));
}
