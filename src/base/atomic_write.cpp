#include "base/atomic_write.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kolt {

static std::string ParentOf(const std::string& path) {
    const auto cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    if (cut == 0) return "/";
    return path.substr(0, cut);
}

static bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

static bool ReadAll(int fd, std::string& out) {
    char chunk[8192];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out.append(chunk, static_cast<std::size_t>(n));
    }
}

// Puts `bytes` at the start of the open file and cuts it to their length.
static bool Overwrite(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// For a writable file in a folder that takes no new files: the file is written
// where it is. Its old bytes are read first, so a write that fails (a full disk)
// puts them back; only a failure of that second write too can leave it damaged.
static bool WriteInPlace(const std::string& target, std::string_view bytes, std::string& error) {
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::string old;
    if (!ReadAll(fd, old)) {
        error = std::strerror(errno);
        ::close(fd);
        return false;
    }
    bool ok = Overwrite(fd, bytes);
    if (!ok) {
        const int savedErrno = errno;
        Overwrite(fd, old);
        error = std::strerror(savedErrno);
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = std::strerror(errno);
    }
    return ok;
}

// The folder refuses what a replace needs (a new file, a rename), though the file may
// well be writable itself.
static bool FolderRefuses(int err) { return err == EACCES || err == EPERM; }

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error) {
    // Saving through a symbolic link replaces the file it points to, not the link.
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) != nullptr) target = resolved;
    }

    mode_t mode;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) {
            error = std::strerror(EISDIR);
            return false;
        }
        // A file the user made read-only stays protected, as if it were written in place.
        if (::access(target.c_str(), W_OK) != 0) {
            error = std::strerror(errno);
            return false;
        }
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string base = target.substr(target.find_last_of('/') == std::string::npos ? 0 : target.find_last_of('/') + 1);
    std::string tmpl = ParentOf(target) + "/." + base + ".XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        const int err = errno;
        if (exists && FolderRefuses(err)) return WriteInPlace(target, bytes, error);
        error = std::strerror(err);
        return false;
    }
    const std::string tmp(name.data());

    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(tmp.c_str());
        // A folder with per-file rights (a sticky one, say) may let us make the
        // temporary file and still refuse to rename it over someone else's file.
        if (exists && FolderRefuses(savedErrno)) return WriteInPlace(target, bytes, error);
        error = std::strerror(savedErrno);
        return false;
    }

    // Make the rename itself durable; a failure here no longer endangers the data.
    const int dirFd = ::open(ParentOf(target).c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

}  // namespace kolt
