// Where the settings and Log/ go: beside a copied or built program, in the
// user's data folder for one installed where it cannot write.
#include "store/programfolders.h"

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace brevanto {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolders, AnInstalledProgramWithoutItsOwnIniUsesTheDataFolder) {
    testing::TempDir dir;
    const fs::path bin = dir / "usr/bin";
    fs::create_directories(bin);
    const fs::path data = dir / "home/.local/share/Brevanto";
    const auto readOnly = [&](const fs::path& folder) { return folder != bin; };

    const ProgramFolders installed =
        programFolders(bin / "brevanto.INI", dir / "cwd", data, readOnly);
    EXPECT_TRUE(installed.inDataFolder);
    EXPECT_EQ(installed.settingsFile, data / "brevanto.INI");
    EXPECT_EQ(installed.workingDirectory, data);
    EXPECT_TRUE(fs::is_directory(data));

    // An INI put beside it by hand is the one it keeps.
    testing::writeFile(bin / "brevanto.INI", "[Main]\n");
    const ProgramFolders configured =
        programFolders(bin / "brevanto.INI", dir / "cwd", data, readOnly);
    EXPECT_FALSE(configured.inDataFolder);
    EXPECT_EQ(configured.settingsFile, bin / "brevanto.INI");
    EXPECT_EQ(configured.workingDirectory, dir / "cwd");
}

TEST(ProgramFolders, AProgramThatCanWriteItsFolderKeepsThePlacesItAlwaysHad) {
    testing::TempDir dir;
    const auto writable = [](const fs::path&) { return true; };
    const ProgramFolders copied =
        programFolders(dir / "brevanto.INI", dir / "cwd", dir / "data", writable);
    EXPECT_FALSE(copied.inDataFolder);
    EXPECT_EQ(copied.settingsFile, dir / "brevanto.INI");
    EXPECT_EQ(copied.workingDirectory, dir / "cwd");
    EXPECT_FALSE(fs::exists(dir / "data"));

    // No data folder to be had: it stays where it is.
    const auto nothingWritable = [](const fs::path&) { return false; };
    EXPECT_FALSE(
        programFolders(dir / "brevanto.INI", dir / "cwd", {}, nothingWritable).inDataFolder);
    EXPECT_FALSE(programFolders(dir / "brevanto.INI", dir / "cwd", dir / "data", nothingWritable)
                     .inDataFolder);
}

}  // namespace
}  // namespace brevanto
