// The installation folder (where koltinf.ini lives), the help file's folders
// and the check for a display.
#include "app/display_check.h"
#include "base/install_dir.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>
#include <sys/stat.h>

namespace kolt::testing {
namespace {

namespace fs = std::filesystem;

void Touch(const std::string& p) { std::ofstream(p) << ""; }

TEST(InstallDirTest, ChoiceFollowsHomeThenWritableProgramFolderThenUserFolder) {
    using S = InstallDirSource;
    struct Case { const char *koltHome, *program; bool programWritable; const char *xdg, *home, *dir; S source; } const cases[] = {
        // $KOLT_HOME wins even over a writable program folder; one or more trailing '/' go.
        {"/opt/kolt//", "/work/build", true, "/x/cfg", "/home/ann", "/opt/kolt", S::KoltHome},
        {"/opt/kolt", "/usr/bin", false, "", "/home/ann", "/opt/kolt", S::KoltHome},
        // A build tree or portable copy the user may write.
        {"", "/work/build/", true, "/x/cfg", "/home/ann", "/work/build", S::ProgramFolder},
        // An installed copy: the per-user folder; a relative XDG_CONFIG_HOME is not valid.
        {"", "/usr/local/bin", false, "/x/cfg", "/home/ann", "/x/cfg/kolt", S::UserFolder},
        {"", "/usr/local/bin", false, "/x/cfg/", "/home/ann", "/x/cfg/kolt", S::UserFolder},
        {"", "/usr/local/bin", false, "", "/home/ann", "/home/ann/.config/kolt", S::UserFolder},
        {"", "/usr/local/bin", false, "", "/home/ann/", "/home/ann/.config/kolt", S::UserFolder},
        {"", "/usr/local/bin", false, "cfg", "/home/ann", "/home/ann/.config/kolt", S::UserFolder},
    };
    for (const Case& c : cases) {
        std::string asked;
        const InstallDirChoice got = ChooseInstallDir({c.koltHome, c.program, c.xdg, c.home}, [&](const std::string& f) {
            asked = f;
            return c.programWritable;
        });
        EXPECT_EQ(std::tuple(got.dir, got.source), std::tuple(std::string(c.dir), c.source)) << c.koltHome << c.program;
        if (c.source == S::UserFolder) {
            EXPECT_EQ(asked, "/usr/local/bin");
        }
    }
    // A relative $KOLT_HOME is taken from the current folder.
    EXPECT_EQ(ChooseInstallDir({"rel/dir/", "/usr/bin", "", "/home/ann"}).dir, (fs::current_path() / "rel/dir").string());
}

// In a build tree kolt (build/) and kolt-cli (build/tools) must read the same file.
TEST(InstallDirTest, BuildTreeToolsShareTheWindowProgramsFolder) {
    TempDir tree;
    const std::string top = tree.Path();
    for (const char* sub : {"/tools", "/tests", "/inst/bin"}) fs::create_directories(top + sub);
    EXPECT_EQ(ProgramFolderOf(top + "/tools"), top + "/tools");  // not a build tree yet
    Touch(top + "/CMakeCache.txt");
    // A copy installed into the build tree is an installed copy.
    const std::string bin = KOLT_TEST_BIN_DIR;
    const std::pair<std::string, std::string> rows[] = {{top, top}, {top + "/tools", top}, {top + "/tests", top},
        {top + "/tools/", top}, {top + "/inst/bin", top + "/inst/bin"}, {bin + "/tools", bin}, {bin, bin}};
    for (const auto& [folder, program] : rows) EXPECT_EQ(ProgramFolderOf(folder), program) << folder;
}

// Which folders are taken and made; an installed copy run by an ordinary
// user is the start-up tests' (they run it as nobody).
TEST(InstallDirTest, FoldersTakenMadeOrRefused) {
    TempDir scratch;
    const std::string home = scratch.File("home"), program = scratch.File("bin"), xdg = scratch.File("cfg");
    for (const std::string& folder : {home, program}) fs::create_directories(folder);
    for (const auto& [koltHome, source, folder] : {std::tuple(home + "/", InstallDirSource::KoltHome, home),
                                                   std::tuple(std::string(), InstallDirSource::ProgramFolder, program)}) {
        const InstallDirResult r = ResolveInstallDir({koltHome, program, xdg, "/nonexistent"}, true);
        EXPECT_EQ(std::tuple(r.ok, r.choice.source, r.choice.dir), std::tuple(true, source, folder));
    }
    EXPECT_FALSE(fs::exists(xdg));  // no per-user folder is made when it is not used
    // A $KOLT_HOME that names no folder: message 2000 alone.
    InstallDirResult r = ResolveInstallDir({scratch.File("not-there"), scratch.Path(), "", "/h"}, true);
    EXPECT_EQ(std::tuple(r.ok, r.problem), std::tuple(false, std::string()));

    // A per-user folder below a plain file cannot be created; the reason names it.
    Touch(scratch.File("plain"));
    auto never = [](const std::string&) { return false; };
    r = ResolveInstallDir({"", "/usr/bin", scratch.File("plain"), "/h"}, true, never);
    EXPECT_EQ(std::tuple(r.ok, r.problem), std::tuple(false, "The folder for the settings could not be created:\n" +
                                                                  scratch.File("plain") + "/kolt\nNot a directory"));

    // kolt-cli only reads: a missing per-user folder is fine and stays missing.
    const InstallDirInputs fresh{"", "/usr/bin", scratch.File("a/b"), "/h"};
    EXPECT_TRUE(ResolveInstallDir(fresh, false, never).ok && !fs::exists(scratch.File("a")));
    // The window program creates it with its missing parents, private to the user.
    r = ResolveInstallDir(fresh, true, never);
    struct stat st {};
    const int statResult = ::stat(scratch.File("a/b/kolt").c_str(), &st);
    EXPECT_EQ(std::tuple(r.ok, r.choice.dir, statResult, st.st_mode & 0777), std::tuple(true, scratch.File("a/b/kolt"), 0, 0700u));
}

TEST(InstallDirTest, HelpFileIsLookedForInTheInstallFolderThenTheSharedDataFolder) {
    using Folders = std::vector<std::string>;
    EXPECT_EQ(HelpFileFolders("/home/ann/.config/kolt", "/tmp/p/bin"), (Folders{"/home/ann/.config/kolt", "/tmp/p/share/kolt"}));
    EXPECT_EQ(HelpFileFolders("/tmp/p/share/kolt/", "/tmp/p/bin"), (Folders{"/tmp/p/share/kolt"}));
    TempDir tree;
    const std::string install = tree.File("cfg"), shared = tree.File("share/kolt");
    for (const std::string& folder : {install, shared}) fs::create_directories(folder);
    const Folders folders = HelpFileFolders(install, tree.File("bin"));
    ASSERT_EQ(folders, (Folders{install, shared}));
    EXPECT_EQ(std::pair(FindHelpFile(folders), HelpNotFoundMessage(folders)),
              std::pair(std::optional<std::string>(), "Not Find Help File!!\n\nLooked in:\n" + install + "\n" + shared));
    for (const std::string& found : {shared, install}) {  // the installation folder first
        Touch(found + "/KOLTEDPC.chm");
        EXPECT_EQ(FindHelpFile(folders), found + "/KOLTEDPC.chm");
    }
}

TEST(DisplayCheckTest, WindowsNeedADisplayOrAPlatformGivenToQt) {
    struct Case { const char *display, *wayland, *qpa; std::vector<std::string> args; bool can; } const cases[] = {
        {"", "", "", {}, false}, {"", "", "", {"pump.kpf"}, false}, {":0", "", "", {}, true},
        {"", "wayland-0", "", {}, true}, {"", "", "offscreen", {}, true},
        {"", "", "", {"-platform", "offscreen"}, true}, {"", "", "", {"--platform", "vnc"}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanOpenWindows(c.display, c.wayland, c.qpa, c.args), c.can) << c.display << c.wayland << c.qpa;
}

}  // namespace
}  // namespace kolt::testing
