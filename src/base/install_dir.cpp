#include "base/install_dir.h"

#include "base/texts.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kolt {

namespace {

namespace fs = std::filesystem;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string WithoutTrailingSlash(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// Absolute and without "." or ".." steps, so messages and the settings path
// read plainly; an empty text stays empty.
std::string Plain(const std::string& dir) {
    if (dir.empty()) return dir;
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(dir), ec);
    if (ec) p = fs::path(dir);
    return WithoutTrailingSlash(p.lexically_normal().string());
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ParentOf(const std::string& dir) {
    const auto cut = dir.find_last_of('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? std::string("/") : dir.substr(0, cut);
}

}  // namespace

bool UserMayWriteSettingsIn(const std::string& folder) {
    // Effective ids, as the later open and rename use them; a read-only file
    // system answers EROFS even for root.
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0) return true;
    const std::string file = folder + "/" + text::kSettingsFileName;
    return IsFile(file) && ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string UserSettingsFolder(const InstallDirInputs& in) {
    std::string base;
    if (!in.xdgConfigHome.empty() && in.xdgConfigHome.front() == '/')
        base = in.xdgConfigHome;
    else if (const std::string home = WithoutTrailingSlash(in.home); !home.empty() && home != "/")
        base = home + "/.config";
    else
        base = "/.config";
    base = WithoutTrailingSlash(fs::path(base).lexically_normal().string());
    return (base == "/" ? std::string() : base) + "/kolt";
}

InstallDirChoice ChooseInstallDir(const InstallDirInputs& in, const std::function<bool(const std::string&)>& mayWrite) {
    if (!in.koltHome.empty()) return {Plain(in.koltHome), InstallDirSource::KoltHome};
    const std::string program = Plain(in.programFolder);
    if (!program.empty() && mayWrite(program)) return {program, InstallDirSource::ProgramFolder};
    return {UserSettingsFolder(in), InstallDirSource::UserFolder};
}

std::string ExecutableFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    return ParentOf(std::string(buf, static_cast<std::size_t>(n)));
}

std::string ProgramFolderOf(const std::string& executableFolder) {
    // A build tree is known by the CMakeCache.txt at its top. Only one level
    // up (build/tools, build/tests): a copy installed into the build tree
    // (build/inst/bin) keeps its own folder.
    const std::string dir = WithoutTrailingSlash(executableFolder);
    if (IsFile(dir + "/CMakeCache.txt") || dir == "/") return dir;
    const std::string parent = ParentOf(dir);
    return IsFile(parent + "/CMakeCache.txt") ? parent : dir;
}

InstallDirInputs CurrentInstallDirInputs() {
    InstallDirInputs in;
    in.koltHome = Env("KOLT_HOME");
    in.programFolder = ProgramFolderOf(ExecutableFolder());
    in.xdgConfigHome = Env("XDG_CONFIG_HOME");
    in.home = Env("HOME");
    if (in.home.empty()) {
        if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_dir != nullptr) in.home = pw->pw_dir;
    }
    return in;
}

bool MakeFolders(const std::string& folder, std::string& error) {
    if (IsFolder(folder)) return true;
    std::string built;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        const std::size_t next = folder.find('/', pos + 1);
        built = folder.substr(0, next);
        pos = next;
        if (built.empty() || built == "/" || IsFolder(built)) continue;
        if (::mkdir(built.c_str(), 0700) != 0 && !(errno == EEXIST && IsFolder(built))) {
            // A plain file in the way says "File exists", which reads as if all were well.
            error = std::strerror(errno == EEXIST ? ENOTDIR : errno);
            return false;
        }
    }
    return true;
}

InstallDirResult ResolveInstallDir(const InstallDirInputs& in, bool create,
                                   const std::function<bool(const std::string&)>& mayWrite) {
    InstallDirResult result;
    result.choice = ChooseInstallDir(in, mayWrite);
    const std::string& dir = result.choice.dir;
    if (result.choice.source != InstallDirSource::UserFolder) {
        result.ok = !dir.empty() && IsFolder(dir);
        return result;
    }
    if (!create || IsFolder(dir)) {
        result.ok = true;
        return result;
    }
    std::string error;
    if (!MakeFolders(dir, error)) {
        result.problem = std::string(text::kSettingsFolderNotCreated) + dir + "\n" + error;
        return result;
    }
    result.ok = true;
    return result;
}

std::vector<std::string> HelpFileFolders(const std::string& installDir, const std::string& executableFolder) {
    std::vector<std::string> folders;
    if (!installDir.empty()) folders.push_back(WithoutTrailingSlash(installDir));
    const std::string shared =
        WithoutTrailingSlash((fs::path(executableFolder) / ".." / "share" / "kolt").lexically_normal().string());
    if (folders.empty() || folders.front() != shared) folders.push_back(shared);
    return folders;
}

std::optional<std::string> FindHelpFile(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        const std::string path = folder + "/" + text::kHelpFileName;
        if (IsFile(path)) return path;
    }
    return std::nullopt;
}

std::string HelpNotFoundMessage(const std::vector<std::string>& folders) {
    std::string message = std::string(text::kNoHelpFile) + "\n\n" + text::kHelpLookedIn;
    for (const std::string& folder : folders) message += "\n" + folder;
    return message;
}

std::string HelpNotOpenedMessage(const std::string& path) {
    return std::string(text::kNoHelpFile) + "\n\n" + text::kHelpNotOpened + path;
}

}  // namespace kolt
