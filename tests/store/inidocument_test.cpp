#include "store/inidocument.h"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

// As Windows tools leave it: byte-order mark, CR LF, blanks around "=",
// keys in another case, a label in the Windows code page.
const std::string kWindowsFile =
    "\xEF\xBB\xBF"
    "[MAIN]\r\n"
    "meastime = 7\r\n"
    "Com Port = COM3\r\n"
    "\r\n"
    "[BasicInfo]\r\n"
    "AC Voltage = Tensione \xB0"
    "C\r\n";

TEST(IniDocument, WritesAtMostOneBlankLineInARow) {
    IniDocument document("; head\n\n\n\n[A]\nk=v\n\n\n; note\n\n\n\n[B]\nx=y\n\n\n\n");
    document.setValue("C", "n", "1");
    EXPECT_EQ(document.text(), "; head\n\n[A]\nk=v\n\n; note\n[B]\nx=y\n\n[C]\nn=1\n");
}

TEST(IniDocument, ReadsAFileAsWindowsToolsWriteIt) {
    const IniDocument document(kWindowsFile);
    EXPECT_EQ(document.value("Main", "MeasTime"), "7");
    EXPECT_EQ(document.value("Main", "COM PORT"), "COM3");
    EXPECT_EQ(document.value("BasicInfo", "AC Voltage"),
              "Tensione \xC2\xB0"
              "C");
    EXPECT_EQ(document.value("Http", "Title"), std::nullopt);
}

TEST(IniDocument, WritesKeyEqualsValueWithTheLineEndsAndMarkTheFileHad) {
    IniDocument document(kWindowsFile);
    document.setValue("Main", "MeasTime", "3");
    EXPECT_EQ(document.text(),
              "\xEF\xBB\xBF"
              "[MAIN]\r\n"
              "MeasTime=3\r\n"
              "Com Port=COM3\r\n"
              "\r\n"
              "[BasicInfo]\r\n"
              "AC Voltage=Tensione \xC2\xB0"
              "C\r\n");
}

TEST(IniDocument, ANewDocumentHasLfLineEndsAndSectionsInTheOrderSet) {
    IniDocument document;
    document.setValue("Main", "MeasTime", "2");
    document.setValue("Mail", "Port", "25");
    document.setValue("Main", "UpdateLog", "2");
    EXPECT_EQ(document.text(), "[Main]\nMeasTime=2\nUpdateLog=2\n\n[Mail]\nPort=25\n");
}

TEST(IniDocument, ReadsUtf16AsWindowsEditorsSaveIt) {
    constexpr char kLittleEndian[] = "\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xE9\0";
    constexpr char kBigEndian[] = "\xFE\xFF\0[\0A\0]\0\n\0k\0=\0\xE9";
    const IniDocument littleEndian(std::string_view(kLittleEndian, sizeof kLittleEndian - 1));
    const IniDocument bigEndian(std::string_view(kBigEndian, sizeof kBigEndian - 1));
    EXPECT_EQ(littleEndian.value("A", "k"), "\xC3\xA9");
    EXPECT_EQ(bigEndian.value("a", "K"), "\xC3\xA9");
    EXPECT_EQ(littleEndian.text(), "\xEF\xBB\xBF[A]\r\nk=\xC3\xA9\r\n");
}

TEST(IniDocument, KeepsWhatItDoesNotKnow) {
    const std::string file =
        "; written by hand\n"
        "\n"
        "[Ports]\n"
        "COM3=/dev/ttyUSB1\n"
        "[Main]\n"
        "; keep me\n"
        "MeasTime=1\n"
        "Other key = x\n"
        "[Plugins]\n"
        "colour=blue\n"
        "# last words\n";
    IniDocument document(file);
    document.setValue("Main", "MeasTime", "5");
    document.setValue("Http", "Port", "80");
    EXPECT_EQ(document.text(),
              "; written by hand\n"
              "\n"
              "[Ports]\n"
              "COM3=/dev/ttyUSB1\n"
              "\n"
              "[Main]\n"
              "\n"
              "; keep me\n"
              "MeasTime=5\n"
              "Other key=x\n"
              "\n"
              "[Plugins]\n"
              "colour=blue\n"
              "\n"
              "[Http]\n"
              "Port=80\n"
              "\n"
              "# last words\n");
}

TEST(IniDocument, KeepsAFileOfCommentsOnly) {
    IniDocument document("; one\n\n; two\n");
    document.setValue("Main", "MeasTime", "2");
    EXPECT_EQ(document.text(), "; one\n\n; two\n\n[Main]\nMeasTime=2\n");
}

TEST(IniDocument, AKeyGivenTwiceCountsTheFirstTimeAndIsWrittenOnce) {
    IniDocument document("[Main]\nMeasTime=1\nUpdateLog=3\nmeastime=6\n");
    EXPECT_EQ(document.value("Main", "MeasTime"), "1");
    document.setValue("Main", "MeasTime", "4");
    EXPECT_EQ(document.text(), "[Main]\nMeasTime=4\nUpdateLog=3\n");
}

TEST(IniDocument, AValueNeverSpansLines) {
    IniDocument document;
    document.setValue("Http", "Title", "Home\r\n[Main]\nPassword=");
    EXPECT_EQ(document.text(), "[Http]\nTitle=Home  [Main] Password=\n");
}

TEST(IniDocument, ListsASectionInFileOrder) {
    const IniDocument document("[ports]\nCOM9 = /dev/b\ncom2=/dev/a\n");
    using Entries = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(document.entries("Ports"), (Entries{{"COM9", "/dev/b"}, {"com2", "/dev/a"}}));
    EXPECT_TRUE(document.entries("Main").empty());
}

TEST(IniDocument, BinaryGarbageHoldsNoEntries) {
    constexpr char kGarbage[] = "[Main]\nMeasTime=7\n\0\x01\x89PNG=\xFF";
    const IniDocument document(std::string_view(kGarbage, sizeof kGarbage - 1));
    EXPECT_EQ(document.value("Main", "MeasTime"), std::nullopt);
    EXPECT_EQ(document.text(), "");
}

}  // namespace
}  // namespace brevanto
