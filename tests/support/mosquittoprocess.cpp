#include "support/mosquittoprocess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "support/freeport.h"
#include "support/waituntil.h"

namespace brevanto::testing {

namespace {

constexpr const char* kMosquitto = "/usr/sbin/mosquitto";
constexpr const char* kMosquittoPasswd = "/usr/bin/mosquitto_passwd";

bool accepts(int port) {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected =
        ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}

// Run as root, mosquitto drops to its own user, which could not read the
// test's files; it is told to stay who it is.
std::string currentUser() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? entry->pw_name : "root";
}

}  // namespace

MosquittoProcess::MosquittoProcess(Options options)
    : m_port(options.port != 0 ? options.port : unusedPort()) {
    const auto config = m_directory / "mosquitto.conf";
    std::string text = "user " + currentUser() + "\npersistence false\nlog_dest stderr\n" +
                       "log_type all\nlistener " + std::to_string(m_port) + " 127.0.0.1\n";
    if (options.users.empty()) {
        text += "allow_anonymous true\n";
    } else {
        const auto passwords = m_directory / "passwords";
        for (const auto& [user, password] : options.users) {
            std::vector<std::string> argv = {kMosquittoPasswd, "-b"};
            if (!std::filesystem::exists(passwords)) {
                argv.push_back("-c");
            }
            argv.insert(argv.end(), {passwords.string(), user, password});
            const ProcessRun run = runToExit(argv);
            if (run.exitStatus != 0) {
                throw std::runtime_error("mosquitto_passwd failed: " + run.errors);
            }
        }
        text += "allow_anonymous false\npassword_file " + passwords.string() + "\n";
    }
    if (options.tls) {
        text += "certfile " + options.tls->certificate.string() + "\nkeyfile " +
                options.tls->key.string() + "\n";
    }
    writeFile(config, text);
    start();
}

MosquittoProcess::~MosquittoProcess() {
    stop();
}

void MosquittoProcess::start() {
    if (m_child) {
        return;
    }
    m_child = std::make_unique<ChildProcess>(
        std::vector<std::string>{kMosquitto, "-c", (m_directory / "mosquitto.conf").string()},
        ChildProcess::Options{.outputFile = m_directory / "mosquitto.log", .endSignal = SIGTERM});
    if (!waitUntil([this] { return accepts(m_port) || m_child->waitForExit({}).has_value(); },
                   pauseBriefly) ||
        m_child->reaped()) {
        throw std::runtime_error("mosquitto did not listen on " + std::to_string(m_port) + ": " +
                                 log());
    }
}

void MosquittoProcess::stop() {
    if (!m_child) {
        return;
    }
    m_child->sendSignal(SIGTERM);
    m_child->waitForExit();
    m_child.reset();
}

std::string MosquittoProcess::log() const {
    const auto path = m_directory / "mosquitto.log";
    return std::filesystem::exists(path) ? readFile(path) : std::string();
}

}  // namespace brevanto::testing
