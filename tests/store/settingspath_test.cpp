#include "store/settingspath.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(SettingsPath, IsTheProgramFileWithTheExtensionIni) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"/opt/brevanto/brevanto", "/opt/brevanto/brevanto.INI"},
        {"/opt/brevanto/brevanto.exe", "/opt/brevanto/brevanto.INI"},
        {"/opt/v1.1/brevanto", "/opt/v1.1/brevanto.INI"},
        {"/opt/brevanto/brevanto (deleted)", "/opt/brevanto/brevanto.INI"},
        {"brevanto", "brevanto.INI"},
    };
    for (const auto& [program, settings] : cases) {
        EXPECT_EQ(settingsPathFor(program), std::filesystem::path(settings)) << program;
    }
}

TEST(SettingsPath, LiesBesideTheRunningProgram) {
    const auto path = settingsPath();
    EXPECT_EQ(path.extension(), ".INI");
    EXPECT_EQ(path.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
}

}  // namespace
}  // namespace brevanto
