#include "store/settingsfile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <type_traits>
#include <variant>

#include <gtest/gtest.h>

#include "link/portmap.h"
#include "store/settingskeys.h"
#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::TempDir;

DateTimeFormat testFormat() {
    return DateTimeFormat("%d.%m.%Y", "%H:%M:%S");
}

class SettingsFileTest : public ::testing::Test {
protected:
    std::filesystem::path ini() const { return m_dir / "brevanto.INI"; }
    SettingsFile file() const { return SettingsFile(ini(), testFormat()); }
    TDati readBack(std::string_view contents) const {
        testing::writeFile(ini(), contents);
        return file().read().settings;
    }

    TempDir m_dir;
};

const char* const kNewFileWithDefaults =
    "[Main]\nMeasTime=2\nUpdateLog=2\nRefreshWeb=1\nCOM PORT=COM1\nCOM PORT index=1\n"
    "AutoSearch=1\nBaud rate=2400\nPassword=\nExt view=1\nAutoConnect=0\nAutoReConnect=0\n"
    "\n[Mail]\nAuthRequired=0\nUsername=\nPassword=\nSMTP=\nPort=25\nAddress=\nUrl Proxy=\n"
    "Port Proxy=80\nProxyRequired=0\nUseinternal=0\n"
    "\n[Http]\nPort=8080\nTitle=Welcome to Home server\nReqByWeb=0\n"
    "\n[Timer]\nA=0\nB=0\nC=0\nD=0\nAnext=0\nBnext=0\nCnext=0\nDnext=0\n"
    "A input=0\nB input=0\nC input=0\nD input=0\n"
    "Time A ON=00:00:00\nTime B ON=00:00:00\nTime C ON=00:00:00\nTime D ON=00:00:00\n"
    "Time A OFF=00:00:00\nTime B OFF=00:00:00\nTime C OFF=00:00:00\nTime D OFF=00:00:00\n"
    "\n[BasicInfo]\nAC Voltage=AC Voltage\nAC Frequency=AC Frequency\n"
    "PV Input Voltage=PV Input Voltage\nPV Input Corrent=PV Input Corrent\n"
    "Battery Voltage=Battery Voltage\nBattery Capacity=Battery Capacity\n"
    "Charging Current=Charging Current\nDischarge Current=Discharge Current\n"
    "Output Frequency=Output Frequency\nOutput Voltage=Output Voltage\n"
    "Output Apparent Power=Output Apparent Power\nOutput Active Power=Output Active Power\n"
    "Load Percent=Load Percent\nInverter Heat Sink temperature=Inverter HS Temperature\n"
    "Bus Voltage=Bus Voltage\n"
    "\n[ComputedInfo]\nAux1=Solar Energy (24h)\nAux2=Solar Power\nAux3=Line Energy (app)\n"
    "Aux4=Line Energy (act)\nAux5=[A]Total Solar Energy\nAux6=[B]Total Line Energy\n"
    "UnitAux1=kWh\nUnitAux2=W\nUnitAux3=kWh\nUnitAux4=kWh\nUnitAux5=kWh\nUnitAux6=kWh\n"
    "\n[Trigger]\nOut 1=0\nOut 2=0\nOut 3=0\nOut 4=0\nOut 5=0\nErr=0\n"
    "\n[Log]\nFrequency=0\nEachMonth=0\n"
    "\n[LogIn]\nLogComputed=1\nLogBasic=1\nLogEvent=1\nLogEnergy=1\n"
    "\n[Condition]\ninput=0\noutput=0\nTime=0\nForceON=0\n"
    "\n[REBOOT]\nReboot=0\n"
    "\n[MQTT]\nEnabled=0\nHost=\nPort=1883\nUsername=\nPassword=\nTLS=0\nTopic=brevanto\n"
    "Discovery=1\n";

TEST_F(SettingsFileTest, WithoutAFileEveryKeyHasItsDefault) {
    EXPECT_EQ(file().read().settings, TDati{});
    ASSERT_TRUE(file().write(TDati{}));
    EXPECT_EQ(testing::readFile(ini()), kNewFileWithDefaults);
}

// A value for the n-th key unlike its default and, but for flags, unlike
// every other key's; texts that only quoting keeps whole come in turn.
template <typename T>
T otherValue(const SettingField<T>& field, int n) {
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return field.defaultValue + 100 + n;
    } else if constexpr (std::is_same_v<T, bool>) {
        return !field.defaultValue;
    } else if constexpr (std::is_same_v<T, std::string>) {
        const char* const shapes[] = {"text %", " leading %", "trailing % ", "\"%\"", "% = ; é"};
        std::string text = shapes[n % 5];
        text.replace(text.find('%'), 1, std::to_string(n));
        return text;
    } else {
        return LocalDateTime{{}, TimeOfDay{1 + n % 23, n % 60, (7 * n) % 60}};
    }
}

void setOtherValue(TDati& settings, const SettingKey& key, int n) {
    std::visit([&](const auto& field) { field.of(settings) = otherValue(field, n); }, key.field);
}

TEST_F(SettingsFileTest, SavingAndReloadingKeepsEveryKey) {
    TDati changed;
    int n = 0;
    for (const SettingKey& key : settingKeys()) {
        setOtherValue(changed, key, n++);
    }
    ASSERT_TRUE(file().write(changed));
    EXPECT_EQ(file().read().settings, changed);
}

TEST_F(SettingsFileTest, EachKeyHasAFieldOfItsOwn) {
    const auto keys = settingKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        TDati settings;
        setOtherValue(settings, keys[i], static_cast<int>(i));
        EXPECT_NE(settings, TDati{}) << keys[i].key;
        for (size_t j = 0; j < keys.size(); ++j) {
            if (j == i) {
                continue;
            }
            std::visit(
                [&](const auto& field) {
                    EXPECT_EQ(field.in(settings), field.defaultValue)
                        << keys[i].section << "/" << keys[i].key << " changes " << keys[j].key;
                },
                keys[j].field);
        }
    }
}

// Files from before the broker came load as they always did, and gain the
// section, at its defaults, when next written.
TEST_F(SettingsFileTest, AFileWithoutTheMqttSectionLoadsAsBefore) {
    const TDati settings = readBack("[Main]\nMeasTime=4\n[Http]\nPort=8099\n");
    EXPECT_EQ(settings.measTime, 4);
    EXPECT_FALSE(settings.mqttEnabled);
    EXPECT_EQ(settings.mqttPort, "1883");
    EXPECT_EQ(settings.mqttTopic, "brevanto");
    EXPECT_TRUE(settings.mqttDiscovery);
    ASSERT_TRUE(file().write(settings));
    const std::string written = testing::readFile(ini());
    EXPECT_NE(written.find("\n[MQTT]\nEnabled=0\n"), std::string::npos) << written;
    EXPECT_NE(written.find("[Http]\nPort=8099\n"), std::string::npos);
}

TEST_F(SettingsFileTest, TheMqttSectionReadsItsValuesAndKeepsItsTextsAsTyped) {
    const TDati settings = readBack(
        "[MQTT]\nEnabled=1\nHost=broker.lan\nPort=eighteen\nUsername=solar\n"
        "Password=s3cret\nTLS=1\nTopic=cabin/roof\nDiscovery=0\n");
    EXPECT_TRUE(settings.mqttEnabled);
    EXPECT_EQ(settings.mqttHost, "broker.lan");
    EXPECT_EQ(settings.mqttPort, "eighteen") << "kept as typed; the client refuses it";
    EXPECT_EQ(settings.mqttUsername, "solar");
    EXPECT_EQ(settings.mqttPassword, "s3cret");
    EXPECT_TRUE(settings.mqttTls);
    EXPECT_EQ(settings.mqttTopic, "cabin/roof");
    EXPECT_FALSE(settings.mqttDiscovery);
}

TEST_F(SettingsFileTest, AFlagIsSetWhenItsIntegerIsNotZero) {
    const std::pair<std::string_view, bool> cases[] = {
        {"0", false}, {"abc", true}, {"2", true}, {"", true}, {"$0", false}};
    for (const auto& [stored, expected] : cases) {
        const std::string contents = "[Main]\nAutoSearch=" + std::string(stored) + "\n";
        EXPECT_EQ(readBack(contents).autoSearch, expected) << stored;
    }
}

TEST_F(SettingsFileTest, WhatDoesNotReadTakesItsDefaultSilently) {
    const TDati settings = readBack(
        "[Main]\nMeasTime=fast\nBaud rate=9600.5\n[Timer]\nTime A ON=half past eight\n"
        "Time B OFF=25:00:00\nTime C ON=07:45:00\n[LogIn]\nLogEvent=off\n");
    EXPECT_EQ(settings.measTime, 2);
    EXPECT_EQ(settings.baudRate, 2400);
    EXPECT_EQ(settings.timeOn[0].time, TimeOfDay{});
    EXPECT_EQ(settings.timeOff[1].time, TimeOfDay{});
    EXPECT_EQ(settings.timeOn[2].time, (TimeOfDay{7, 45, 0}));
    EXPECT_TRUE(settings.logEvent);
}

TEST_F(SettingsFileTest, ReadsAFileAsWindowsToolsWriteIt) {
    const TDati settings = readBack(
        "\xEF\xBB\xBF"
        "[MAIN]\r\n"
        "meastime = 7\r\n"
        "com port = COM3\r\n"
        "autosearch = 0\r\n"
        "[Http]\r\n"
        "TITLE = \"Casa al mare\"\r\n"
        "[BasicInfo]\r\n"
        "AC Voltage = Tensione \xB0"
        "C\r\n"
        "[Timer]\r\n"
        "time a on = 6:05:00\r\n");
    EXPECT_EQ(settings.measTime, 7);
    EXPECT_EQ(settings.comPort, "COM3");
    EXPECT_FALSE(settings.autoSearch);
    EXPECT_EQ(settings.title, "Casa al mare");
    EXPECT_EQ(settings.basicLabels[0],
              "Tensione \xC2\xB0"
              "C");
    EXPECT_EQ(settings.timeOn[0].time, (TimeOfDay{6, 5, 0}));
    // No [LogIn] section: the defaults.
    EXPECT_TRUE(settings.logBasic && settings.logComputed && settings.logEvent &&
                settings.logEnergy);
}

bool everyLineEndsInCrLf(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const bool strayLf = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
        const bool strayCr = text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
        if (strayLf || strayCr) {
            return false;
        }
    }
    return true;
}

TEST_F(SettingsFileTest, KeepsTheLineEndsOfTheFileItRewrites) {
    testing::writeFile(ini(), "[Main]\r\nMeasTime=3\r\n");
    ASSERT_TRUE(file().write(file().read().settings));
    EXPECT_TRUE(everyLineEndsInCrLf(testing::readFile(ini())));
    EXPECT_EQ(file().read().settings.measTime, 3);
}

TEST_F(SettingsFileTest, KeepsPortsAndSectionsItDoesNotKnow) {
    testing::writeFile(
        ini(),
        "[Ports]\ncom3 = /dev/serial/by-id/inverter\nCOM30=/dev/ttyX\nLPT1=/dev/lp0\n"
        "[Plugins]\n; by hand\ncolour=blue\n");
    const LoadedSettings loaded = file().read();
    const std::map<int, std::string> expected{{3, "/dev/serial/by-id/inverter"}, {30, "/dev/ttyX"}};
    EXPECT_EQ(loaded.portOverrides, expected);
    EXPECT_EQ(PortMap(loaded.portOverrides).devicePath(3), "/dev/serial/by-id/inverter");

    ASSERT_TRUE(file().write(loaded.settings));
    const std::string text = testing::readFile(ini());
    EXPECT_NE(
        text.find("[Ports]\ncom3=/dev/serial/by-id/inverter\nCOM30=/dev/ttyX\nLPT1=/dev/lp0\n"),
        std::string::npos);
    EXPECT_NE(text.find("[Plugins]\n\n; by hand\ncolour=blue\n"), std::string::npos);
    EXPECT_EQ(file().read().portOverrides, expected);
}

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

TEST_F(SettingsFileTest, TheFileIsForItsOwnerOnly) {
    ASSERT_TRUE(file().write(TDati{}));
    EXPECT_EQ(modeOf(ini()), 0600u);

    std::filesystem::permissions(ini(), std::filesystem::perms(0644));
    ASSERT_TRUE(file().write(TDati{}));
    EXPECT_EQ(modeOf(ini()), 0600u);
}

TEST_F(SettingsFileTest, ALinkedFileStaysLinked) {
    const auto elsewhere = m_dir / "config.ini";
    testing::writeFile(elsewhere, "[Main]\nMeasTime=4\n");
    std::filesystem::create_symlink(elsewhere, ini());
    TDati settings = file().read().settings;
    EXPECT_EQ(settings.measTime, 4);
    settings.measTime = 5;
    ASSERT_TRUE(file().write(settings));
    EXPECT_TRUE(std::filesystem::is_symlink(ini()));
    EXPECT_EQ(SettingsFile(elsewhere, testFormat()).read().settings.measTime, 5);
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenIsLeftAsItWas) {
    const std::string before = "[Main]\nMeasTime=4\n";
    TDati changed;
    changed.measTime = 6;

    testing::writeFile(ini(), before);
    std::filesystem::create_directory(ini().string() + ".tmp");
    EXPECT_FALSE(file().write(changed));
    EXPECT_EQ(testing::readFile(ini()), before);
    std::filesystem::remove(ini().string() + ".tmp");

    const auto blocked = m_dir / "not-a-directory";
    testing::writeFile(blocked, "");
    EXPECT_FALSE(SettingsFile(blocked / "brevanto.INI", testFormat()).write(changed));

    std::filesystem::remove(ini());
    std::filesystem::create_directory(ini());
    EXPECT_FALSE(file().write(changed));
    EXPECT_TRUE(std::filesystem::is_directory(ini()));
}

TEST_F(SettingsFileTest, WhatIsNoSettingsFileLoadsAsDefaults) {
    const std::string megabyteOfDigits(1 << 20, '7');
    constexpr char kElf[] =
        "\x7F"
        "ELF\x02\x01\x01\0\0\0[Main]\nMeasTime=7\n";
    const std::string binary(kElf, sizeof kElf - 1);
    const std::string cases[] = {
        "",
        binary,
        "\x89PNG\r\n\x1A\n garbage = \xFF\xFE\n",
        "[Main]\nMeasTime=" + megabyteOfDigits + "\nTime A ON=" + megabyteOfDigits + "\n",
    };
    for (const auto& contents : cases) {
        EXPECT_EQ(readBack(contents), TDati{}) << contents.substr(0, 20);
    }
    std::filesystem::remove(ini());
    std::filesystem::create_directory(ini());
    EXPECT_EQ(file().read().settings, TDati{});
}

TEST_F(SettingsFileTest, AnUnreadableFileLoadsAsDefaultsAndIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    const std::string before = "[Main]\nMeasTime=7\n[Ports]\nCOM1=/dev/ttyUSB3\n";
    testing::writeFile(ini(), before);
    std::filesystem::permissions(ini(), std::filesystem::perms::none);
    EXPECT_EQ(file().read().settings, TDati{});
    EXPECT_FALSE(file().write(TDati{}));
    std::filesystem::permissions(ini(), std::filesystem::perms::owner_read);
    EXPECT_EQ(testing::readFile(ini()), before);
}

TEST_F(SettingsFileTest, AFifoInPlaceOfTheFileDoesNotHang) {
    ASSERT_EQ(::mkfifo(ini().c_str(), 0600), 0);
    EXPECT_EQ(file().read().settings, TDati{});
    EXPECT_FALSE(file().write(TDati{}));
}

TEST_F(SettingsFileTest, AMegabyteTextSurvivesSavingAndReloading) {
    TDati settings;
    settings.title = std::string(1 << 20, 'x');
    ASSERT_TRUE(file().write(settings));
    EXPECT_EQ(file().read().settings.title, settings.title);
}

}  // namespace
}  // namespace brevanto
