#include "platform/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace brevanto {
namespace {

mode_t modeForNewFile(const std::filesystem::path& target, mode_t mode, bool restrictMode) {
    struct stat existing {};
    if (!restrictMode && ::stat(target.c_str(), &existing) == 0) {
        return existing.st_mode & 07777;
    }
    return mode;
}

void syncDirectoryOf(const std::filesystem::path& target) {
    auto directory = target.parent_path();
    if (directory.empty()) {
        directory = ".";
    }
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

AtomicFile::AtomicFile(std::filesystem::path target, mode_t mode, bool restrictMode)
    : m_target(std::move(target)), m_temporary(temporaryPathFor(m_target)) {
    const mode_t fileMode = modeForNewFile(m_target, mode, restrictMode);
    ::unlink(m_temporary.c_str());
    m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC | O_CLOEXEC, fileMode);
    if (m_fd >= 0) {
        // open() leaves the umask's mark; the mode asked for is the one wanted.
        ::fchmod(m_fd, fileMode);
    }
}

AtomicFile::~AtomicFile() {
    discard();
}

std::filesystem::path AtomicFile::temporaryPathFor(const std::filesystem::path& target) {
    auto temporary = target;
    temporary += ".tmp";
    return temporary;
}

bool AtomicFile::write(std::string_view bytes) {
    if (m_fd < 0 || m_failed) {
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            m_failed = true;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool AtomicFile::commit() {
    if (m_fd < 0 || m_failed) {
        discard();
        return false;
    }
    const bool flushed = ::fsync(m_fd) == 0;
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    if (!flushed || !closed || ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        ::unlink(m_temporary.c_str());
        return false;
    }
    syncDirectoryOf(m_target);
    return true;
}

void AtomicFile::discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_temporary.c_str());
    }
}

bool replaceFileAtomically(const std::filesystem::path& target,
                           const std::function<bool(ByteSink&)>& produce, mode_t mode,
                           bool restrictMode) {
    AtomicFile file(target, mode, restrictMode);
    if (!file.isOpen() || !produce(file)) {
        return false;
    }
    return file.commit();
}

}  // namespace brevanto
