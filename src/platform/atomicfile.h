// Replaces a file so that it is either the old one or the whole new one,
// never a truncated mix: the bytes go to "<name>.tmp" beside the target,
// are flushed to the disk, and the temporary file is renamed over the target.
// A file deleted before it is rewritten would be lost on a full disk or a
// power cut; a rename is not.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string_view>

#include "platform/bytesink.h"

namespace brevanto {

class AtomicFile final : public ByteSink {
public:
    // mode applies when the file is created; an existing file keeps its own
    // permissions unless restrictMode is set.
    explicit AtomicFile(std::filesystem::path target, mode_t mode = 0644,
                        bool restrictMode = false);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    bool write(std::string_view bytes) override;
    // Flushes and renames; false leaves the target as it was.
    bool commit();

    static std::filesystem::path temporaryPathFor(const std::filesystem::path& target);

private:
    void discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    bool m_failed = false;
};

// Writes the whole file through `produce`; true only when every byte reached
// the disk and the target was replaced.
bool replaceFileAtomically(const std::filesystem::path& target,
                           const std::function<bool(ByteSink&)>& produce, mode_t mode = 0644,
                           bool restrictMode = false);

}  // namespace brevanto
