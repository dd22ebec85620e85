#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>

#include "platform/system.h"
#include "platform/xdg_folders_posix.h"
#include "support/scoped_env.h"
#include "support/test_files.h"

namespace tessaly {
namespace {

// The settings file and the documents folder read the same XDG rules.
TEST(XdgFolders, DocumentsFolderFollowsUserDirsInTheConfigFolder) {
    test::TempFolder home;
    const std::string h = home.path().string();
    std::filesystem::create_directories(home.path() / ".config");
    std::filesystem::create_directories(home.path() / "cfg");
    std::filesystem::create_directories(home.path() / "Docs");
    std::filesystem::create_directories(home.path() / "Papers");
    test::WriteWholeFile(home.path() / ".config/user-dirs.dirs",
                         "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    test::WriteWholeFile(home.path() / "cfg/user-dirs.dirs",
                         "XDG_DOCUMENTS_DIR=\"" + h + "/Papers\"\n");
    struct Case {
        std::optional<std::string> xdgConfigHome;
        std::string config;
        std::string documents;
    };
    const Case cases[] = {
        {std::nullopt, h + "/.config", h + "/Docs/"},
        {h + "/cfg", h + "/cfg", h + "/Papers/"},
        {"cfg", h + "/.config", h + "/Docs/"},  // a relative one does not count
        {h + "/none", h + "/none", h + "/"},    // no user-dirs.dirs: home
    };
    test::ScopedEnv homeVariable("HOME", h);
    test::ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    for (const auto& c : cases) {
        xdg.Set(c.xdgConfigHome);
        EXPECT_EQ(ConfigFolder(), c.config) << c.xdgConfigHome.value_or("unset");
        EXPECT_EQ(DocumentsFolder(), c.documents) << c.xdgConfigHome.value_or("unset");
    }
    // A documents folder that is gone gives home too.
    std::filesystem::remove(home.path() / "Docs");
    xdg.Set(std::nullopt);
    EXPECT_EQ(DocumentsFolder(), h + "/");

    // Without HOME, the password database knows the home folder.
    homeVariable.Set(std::nullopt);
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(HomeFolder(), std::string(user->pw_dir));
}

}  // namespace
}  // namespace tessaly
