#include "platform/atomicfile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/tempdir.h"

namespace brevanto {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

mode_t modeOf(const std::filesystem::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

bool writeText(ByteSink& sink, const std::string& text) {
    return sink.write(text);
}

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    const auto target = dir / "events.txt";
    writeFile(target, "old contents that are longer than the new ones");
    ASSERT_TRUE(replaceFileAtomically(target, [](ByteSink& s) { return writeText(s, "new"); }));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_FALSE(std::filesystem::exists(AtomicFile::temporaryPathFor(target)));
}

TEST(AtomicFile, AFailedWriterLeavesTheOldFileWhole) {
    TempDir dir;
    const auto target = dir / "events.txt";
    writeFile(target, "yesterday");
    const bool saved = replaceFileAtomically(target, [](ByteSink& s) {
        return writeText(s, "half of") && false;  // the producer gives up midway
    });
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(target), "yesterday");
    EXPECT_FALSE(std::filesystem::exists(AtomicFile::temporaryPathFor(target)));
}

TEST(AtomicFile, AnUncommittedFileIsDiscarded) {
    TempDir dir;
    const auto target = dir / "events.txt";
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.write("never committed"));
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_FALSE(std::filesystem::exists(AtomicFile::temporaryPathFor(target)));
}

TEST(AtomicFile, ReportsATargetThatCannotBeWritten) {
    TempDir dir;
    // A directory where the temporary file must go stops even root.
    const auto target = dir / "blocked.txt";
    std::filesystem::create_directory(AtomicFile::temporaryPathFor(target));
    std::filesystem::create_directory(AtomicFile::temporaryPathFor(target) / "inside");
    EXPECT_FALSE(replaceFileAtomically(target, [](ByteSink& s) { return writeText(s, "x"); }));
    EXPECT_FALSE(replaceFileAtomically(dir / "missing" / "file.txt",
                                       [](ByteSink& s) { return writeText(s, "x"); }));
}

TEST(AtomicFile, ModesForNewAndExistingFiles) {
    TempDir dir;
    const auto secret = dir / "secret.ini";
    ASSERT_TRUE(replaceFileAtomically(
        secret, [](ByteSink& s) { return writeText(s, "a"); }, 0600));
    EXPECT_EQ(modeOf(secret), 0600u);

    const auto shared = dir / "shared.txt";
    writeFile(shared, "a");
    ::chmod(shared.c_str(), 0640);
    ASSERT_TRUE(replaceFileAtomically(shared, [](ByteSink& s) { return writeText(s, "b"); }));
    EXPECT_EQ(modeOf(shared), 0640u);

    ::chmod(secret.c_str(), 0644);
    ASSERT_TRUE(replaceFileAtomically(
        secret, [](ByteSink& s) { return writeText(s, "c"); }, 0600, true));
    EXPECT_EQ(modeOf(secret), 0600u);
}

}  // namespace
}  // namespace brevanto
