#include "inverter-sim/linksymlink.h"

#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace brevanto::sim {

LinkSymlink::LinkSymlink(fs::path path, fs::path target)
    : m_path(std::move(path)), m_target(std::move(target)) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(m_path, error);
    if (fs::exists(status)) {
        if (!fs::is_symlink(status)) {
            throw std::runtime_error(m_path.string() +
                                     " exists and is not a symbolic link; not replacing it");
        }
        fs::remove(m_path, error);
    }
    fs::create_symlink(m_target, m_path, error);
    if (error) {
        throw std::runtime_error("cannot create the link " + m_path.string() + ": " +
                                 error.message());
    }
}

LinkSymlink::~LinkSymlink() {
    std::error_code error;
    if (fs::read_symlink(m_path, error) == m_target && !error) {
        fs::remove(m_path, error);
    }
}

}  // namespace brevanto::sim
