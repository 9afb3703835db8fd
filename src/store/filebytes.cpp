#include "store/filebytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <new>

namespace brevanto {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

FileBytes unreadable() {
    return {FileBytes::Status::Unreadable, {}};
}

}  // namespace

FileBytes readSmallFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // O_NONBLOCK keeps open() from waiting for a writer when the path is a FIFO.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return missing ? FileBytes{FileBytes::Status::Missing, {}} : unreadable();
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        return unreadable();
    }
    FileBytes result{FileBytes::Status::Read, {}};
    try {
        result.bytes.reserve(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        // A machine short of memory: the file is as good as unreadable.
        return unreadable();
    }
    std::array<char, 65536> buffer{};
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return unreadable();
        }
        if (got == 0) {
            return result;
        }
        if (result.bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            return unreadable();
        }
        result.bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

}  // namespace brevanto
