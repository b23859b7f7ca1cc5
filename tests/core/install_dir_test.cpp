// The installation folder (where koltinf.ini lives), the help file's folders
// and the check for a display.
#include "app/display_check.h"
#include "as_other_user.h"
#include "base/install_dir.h"
#include "base/marben_app.h"
#include "base/settings.h"
#include "document_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kolt::testing {
namespace {

namespace fs = std::filesystem;

bool IsDir(const std::string& p) { return fs::is_directory(p); }
void Touch(const std::string& p) { std::ofstream(p) << ""; }

TEST(InstallDirTest, ChoiceFollowsHomeThenWritableProgramFolderThenUserFolder) {
    struct Case {
        const char* koltHome;
        const char* program;
        bool programWritable;
        const char* xdg;
        const char* home;
        const char* dir;
        InstallDirSource source;
    };
    const Case cases[] = {
        // $KOLT_HOME wins even over a writable program folder; one or more trailing '/' go.
        {"/opt/kolt//", "/work/build", true, "/x/cfg", "/home/ann", "/opt/kolt", InstallDirSource::KoltHome},
        {"/opt/kolt", "/usr/bin", false, "", "/home/ann", "/opt/kolt", InstallDirSource::KoltHome},
        // A build tree or portable copy the user may write.
        {"", "/work/build/", true, "/x/cfg", "/home/ann", "/work/build", InstallDirSource::ProgramFolder},
        // An installed copy: the per-user folder.
        {"", "/usr/local/bin", false, "/x/cfg", "/home/ann", "/x/cfg/kolt", InstallDirSource::UserFolder},
        {"", "/usr/local/bin", false, "/x/cfg/", "/home/ann", "/x/cfg/kolt", InstallDirSource::UserFolder},
        {"", "/usr/local/bin", false, "", "/home/ann", "/home/ann/.config/kolt", InstallDirSource::UserFolder},
        {"", "/usr/local/bin", false, "", "/home/ann/", "/home/ann/.config/kolt", InstallDirSource::UserFolder},
        // A relative XDG_CONFIG_HOME is not valid and is ignored.
        {"", "/usr/local/bin", false, "cfg", "/home/ann", "/home/ann/.config/kolt", InstallDirSource::UserFolder},
    };
    for (const Case& c : cases) {
        std::string asked;
        const InstallDirInputs in{c.koltHome, c.program, c.xdg, c.home};
        const InstallDirChoice got = ChooseInstallDir(in, [&](const std::string& f) {
            asked = f;
            return c.programWritable;
        });
        EXPECT_EQ(got.dir, c.dir) << c.koltHome << " | " << c.program << " | " << c.xdg;
        EXPECT_EQ(got.source, c.source) << c.dir;
        if (c.source == InstallDirSource::UserFolder) {
            EXPECT_EQ(asked, "/usr/local/bin");
        }
    }
}

TEST(InstallDirTest, RelativeKoltHomeIsTakenFromTheCurrentFolder) {
    const InstallDirChoice got = ChooseInstallDir({"rel/dir/", "/usr/bin", "", "/home/ann"});
    EXPECT_EQ(got.dir, (fs::current_path() / "rel" / "dir").string());
}

// In a build tree kolt (build/) and kolt-cli (build/tools) must read the same file.
TEST(InstallDirTest, BuildTreeToolsShareTheWindowProgramsFolder) {
    TempDir tree;
    const std::string top = tree.Path();
    fs::create_directories(top + "/tools");
    fs::create_directories(top + "/tests");
    fs::create_directories(top + "/inst/bin");
    EXPECT_EQ(ProgramFolderOf(top + "/tools"), top + "/tools");  // not a build tree yet
    Touch(top + "/CMakeCache.txt");
    EXPECT_EQ(ProgramFolderOf(top), top);
    EXPECT_EQ(ProgramFolderOf(top + "/tools"), top);
    EXPECT_EQ(ProgramFolderOf(top + "/tests"), top);
    EXPECT_EQ(ProgramFolderOf(top + "/tools/"), top);
    // A copy installed into the build tree is an installed copy.
    EXPECT_EQ(ProgramFolderOf(top + "/inst/bin"), top + "/inst/bin");
    // The real build tree of these tests.
    EXPECT_EQ(ProgramFolderOf(std::string(KOLT_TEST_BIN_DIR) + "/tools"), KOLT_TEST_BIN_DIR);
    EXPECT_EQ(ProgramFolderOf(KOLT_TEST_BIN_DIR), KOLT_TEST_BIN_DIR);
}

// Writes settings through the application's path and reads them back anew.
void WriteAndReadBack(const std::string& installDir, const std::string& expectedFile) {
    CMarbenApp app;
    app.installDir = installDir;
    ASSERT_EQ(app.SettingsPath(), expectedFile);
    app.settings.onlineEdit = 1;
    app.settings.comPort = 4;
    ASSERT_TRUE(WriteSettingsFile(app.SettingsPath(), app.settings));
    KoltSettings back;
    ASSERT_TRUE(ReadSettingsFile(expectedFile, back));
    EXPECT_EQ(back.onlineEdit, 1);
    EXPECT_EQ(back.comPort, 4);
}

TEST(InstallDirTest, KoltHomeAndWritableProgramFolderHoldTheSettings) {
    TempDir scratch;
    const std::string home = scratch.File("home"), program = scratch.File("bin"), xdg = scratch.File("cfg");
    fs::create_directories(home);
    fs::create_directories(program);

    InstallDirResult r = ResolveInstallDir({home + "/", program, xdg, "/nonexistent"}, true);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.choice.source, InstallDirSource::KoltHome);
    WriteAndReadBack(r.choice.dir, home + "/koltinf.ini");

    r = ResolveInstallDir({"", program, xdg, "/nonexistent"}, true);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.choice.source, InstallDirSource::ProgramFolder);
    WriteAndReadBack(r.choice.dir, program + "/koltinf.ini");
    EXPECT_FALSE(fs::exists(xdg));  // no per-user folder is made when it is not used
}

TEST(InstallDirTest, FoldersThatCannotBeUsed) {
    TempDir scratch;
    // A $KOLT_HOME that names no folder: message 2000 alone.
    InstallDirResult r = ResolveInstallDir({scratch.File("not-there"), scratch.Path(), "", "/h"}, true);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.problem, "");

    // A per-user folder below a plain file cannot be created; the reason names it.
    Touch(scratch.File("plain"));
    const InstallDirInputs blocked{"", "/usr/bin", scratch.File("plain"), "/h"};
    auto never = [](const std::string&) { return false; };
    r = ResolveInstallDir(blocked, true, never);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.problem, "The folder for the settings could not be created:\n" + scratch.File("plain") +
                             "/kolt\nNot a directory");

    // kolt-cli only reads: a missing per-user folder is fine and stays missing.
    const InstallDirInputs fresh{"", "/usr/bin", scratch.File("a/b"), "/h"};
    r = ResolveInstallDir(fresh, false, never);
    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(fs::exists(scratch.File("a")));
    // The window program creates it with its missing parents, private to the user.
    r = ResolveInstallDir(fresh, true, never);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.choice.dir, scratch.File("a/b/kolt"));
    EXPECT_TRUE(IsDir(scratch.File("a/b/kolt")));
    struct stat st {};
    ASSERT_EQ(::stat(scratch.File("a/b/kolt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// Root may write anywhere, so this case runs as nobody: an installed copy in
// a folder the user cannot write keeps its settings in $XDG_CONFIG_HOME/kolt.
TEST(InstallDirTest, InstalledCopyKeepsSettingsInTheUserFolder) {
    if (const std::string why = CannotRunAsOtherUser(); !why.empty()) GTEST_SKIP() << why;
    OtherUserFolders f;
    ASSERT_TRUE(f.ok);
    const std::string xdg = f.userHome + "/config";
    // A portable copy whose folder only root may write, but whose settings file is the user's.
    const std::string portable = f.root + "/portable";
    ASSERT_EQ(::mkdir(portable.c_str(), 0755), 0);
    Touch(portable + "/koltinf.ini");
    ASSERT_EQ(::chown((portable + "/koltinf.ini").c_str(), kNobodyId, kNobodyId), 0);
    const OtherUserRun run = RunSelfAsNobody(
        "InstallDirTest.DISABLED_AsUserInstalledCopy",
        {"HOME=" + f.userHome, "XDG_CONFIG_HOME=" + xdg, "KOLT_TEST_PROGRAM_FOLDER=" + f.programFolder,
         "KOLT_TEST_PORTABLE_FOLDER=" + portable},
        f.root + "/output.txt");
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
    // Seen from outside: the file is where the user's run put it, and only there.
    KoltSettings back;
    ASSERT_TRUE(ReadSettingsFile(xdg + "/kolt/koltinf.ini", back));
    EXPECT_EQ(back.onlineEdit, 1);
    EXPECT_FALSE(fs::exists(f.programFolder + "/koltinf.ini"));
}

TEST(InstallDirTest, DISABLED_AsUserInstalledCopy) {
    const char* program = std::getenv("KOLT_TEST_PROGRAM_FOLDER");
    ASSERT_NE(program, nullptr);
    ASSERT_NE(::geteuid(), 0u);
    EXPECT_FALSE(UserMayWriteSettingsIn(program));
    EXPECT_TRUE(UserMayWriteSettingsIn(std::getenv("KOLT_TEST_PORTABLE_FOLDER")));
    InstallDirInputs in = CurrentInstallDirInputs();
    in.programFolder = program;
    const InstallDirResult r = ResolveInstallDir(in, true);
    ASSERT_TRUE(r.ok) << r.problem;
    EXPECT_EQ(r.choice.source, InstallDirSource::UserFolder);
    const std::string xdg = std::getenv("XDG_CONFIG_HOME");
    EXPECT_EQ(r.choice.dir, xdg + "/kolt");
    WriteAndReadBack(r.choice.dir, xdg + "/kolt/koltinf.ini");
}

TEST(InstallDirTest, HelpFileIsLookedForInTheInstallFolderThenTheSharedDataFolder) {
    EXPECT_EQ(HelpFileFolders("/home/ann/.config/kolt", "/tmp/p/bin"),
              (std::vector<std::string>{"/home/ann/.config/kolt", "/tmp/p/share/kolt"}));
    EXPECT_EQ(HelpFileFolders("/tmp/p/share/kolt/", "/tmp/p/bin"), (std::vector<std::string>{"/tmp/p/share/kolt"}));

    TempDir tree;
    const std::string install = tree.File("cfg"), shared = tree.File("share/kolt");
    fs::create_directories(install);
    fs::create_directories(shared);
    const std::vector<std::string> folders = HelpFileFolders(install, tree.File("bin"));
    ASSERT_EQ(folders, (std::vector<std::string>{install, shared}));
    EXPECT_EQ(FindHelpFile(folders), std::nullopt);
    EXPECT_EQ(HelpNotFoundMessage(folders), "Not Find Help File!!\n\nLooked in:\n" + install + "\n" + shared);
    Touch(shared + "/KOLTEDPC.chm");
    EXPECT_EQ(FindHelpFile(folders), shared + "/KOLTEDPC.chm");
    Touch(install + "/KOLTEDPC.chm");
    EXPECT_EQ(FindHelpFile(folders), install + "/KOLTEDPC.chm");
}

TEST(DisplayCheckTest, WindowsNeedADisplayOrAPlatformGivenToQt) {
    struct Case {
        const char* display;
        const char* wayland;
        const char* qpa;
        std::vector<std::string> args;
        bool can;
    };
    const Case cases[] = {
        {"", "", "", {}, false},
        {"", "", "", {"pump.kpf"}, false},
        {":0", "", "", {}, true},
        {"", "wayland-0", "", {}, true},
        {"", "", "offscreen", {}, true},
        {"", "", "", {"-platform", "offscreen"}, true},
        {"", "", "", {"--platform", "vnc"}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CanOpenWindows(c.display, c.wayland, c.qpa, c.args), c.can) << c.display << c.wayland << c.qpa;
}

}  // namespace
}  // namespace kolt::testing
