#include "inverter-sim/pseudoterminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <cerrno>
#include <system_error>

namespace brevanto::sim {
namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void makeSerialLine(int fd) {
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        fail("cannot read the pseudo-terminal's settings");
    }
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B2400);
    ::cfsetospeed(&settings, B2400);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        fail("cannot set up the pseudo-terminal as a serial line");
    }
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    m_master.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_master.valid()) {
        fail("cannot open a pseudo-terminal");
    }
    if (::grantpt(m_master.get()) != 0 || ::unlockpt(m_master.get()) != 0) {
        fail("cannot unlock the pseudo-terminal");
    }
    const char* name = ::ptsname(m_master.get());
    if (name == nullptr) {
        fail("cannot name the pseudo-terminal");
    }
    m_slavePath = name;
    m_heldSlave.reset(::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_heldSlave.valid()) {
        fail("cannot open the pseudo-terminal's slave side");
    }
    makeSerialLine(m_heldSlave.get());
    const int flags = ::fcntl(m_master.get(), F_GETFL);
    if (flags < 0 || ::fcntl(m_master.get(), F_SETFL, flags | O_NONBLOCK) != 0) {
        fail("cannot make the pseudo-terminal non-blocking");
    }
}

}  // namespace brevanto::sim
