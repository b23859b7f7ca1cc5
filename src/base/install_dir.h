// Where the installation folder is (koltinf.ini lives there) and where the help
// file may be. The window program and the command-line tool decide it here, so
// both always read the same koltinf.ini.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kolt {

enum class InstallDirSource {
    KoltHome,       // $KOLT_HOME
    ProgramFolder,  // the program's own folder, which the user may write (a build tree, a portable copy)
    UserFolder,     // an installed copy: $XDG_CONFIG_HOME/kolt, else ~/.config/kolt
};

// What the decision depends on, gathered from the process by CurrentInstallDirInputs.
struct InstallDirInputs {
    std::string koltHome;       // $KOLT_HOME; empty when unset
    std::string programFolder;  // see ProgramFolderOf
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME; empty when unset
    std::string home;           // $HOME, else the user's home from the password database
};

struct InstallDirChoice {
    std::string dir;  // absolute unless $KOLT_HOME was relative; never a trailing '/'
    InstallDirSource source = InstallDirSource::KoltHome;
};

// True when the user may keep koltinf.ini in `folder`: the folder is writable,
// or a koltinf.ini there is.
bool UserMayWriteSettingsIn(const std::string& folder);

// The decision itself: $KOLT_HOME when set; else the program folder when
// `mayWrite` says the user may keep the settings there; else the per-user folder.
InstallDirChoice ChooseInstallDir(const InstallDirInputs& in,
                                  const std::function<bool(const std::string&)>& mayWrite = UserMayWriteSettingsIn);

// The per-user folder: $XDG_CONFIG_HOME/kolt when that is an absolute path
// (the only kind the base-directory rules allow), else <home>/.config/kolt.
std::string UserSettingsFolder(const InstallDirInputs& in);

// The folder holding the running executable (from /proc/self/exe).
std::string ExecutableFolder();

// The folder the window program runs from, seen from an executable's folder:
// that folder itself, except in a folder just below the top of a build tree
// (kolt-cli in build/tools, the tests in build/tests), which takes the top,
// where the window program is built; so both read the same settings file.
std::string ProgramFolderOf(const std::string& executableFolder);

// The inputs of the running process: the environment and ProgramFolderOf(ExecutableFolder()).
InstallDirInputs CurrentInstallDirInputs();

struct InstallDirResult {
    bool ok = false;
    InstallDirChoice choice;
    std::string problem;  // when !ok: empty for a missing $KOLT_HOME folder, else what went wrong with the per-user folder
};

// Decides the folder and checks it can be used: a $KOLT_HOME or program folder
// must exist; the per-user folder is created (with its parents) on first use
// when `create` is set. A per-user folder that is missing and not created is
// still ok: there is just no settings file to read yet.
InstallDirResult ResolveInstallDir(const InstallDirInputs& in, bool create,
                                   const std::function<bool(const std::string&)>& mayWrite = UserMayWriteSettingsIn);

// Creates `folder` and any missing parents (mode 0700, as the base-directory
// rules ask for). False with the system's reason when it cannot.
bool MakeFolders(const std::string& folder, std::string& error);

// The folders the help file is looked for in, in order: the installation
// folder, then share/kolt beside the executable's folder (<exe>/../share/kolt),
// so an installed tree can be moved. Duplicates are left out.
std::vector<std::string> HelpFileFolders(const std::string& installDir, const std::string& executableFolder);

// The help file in the first of `folders` that holds it.
std::optional<std::string> FindHelpFile(const std::vector<std::string>& folders);

// "Not Find Help File!!", then the folders it was looked for in, one a line.
std::string HelpNotFoundMessage(const std::vector<std::string>& folders);

// "Not Find Help File!!", then that nothing on the desktop opened `path`.
std::string HelpNotOpenedMessage(const std::string& path);

}  // namespace kolt
