// Debian's mosquitto as a child process on a loopback port, for tests that
// need a real MQTT broker: with users from a password file, with TLS on a
// self-signed certificate, and stopped and started again on its port.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/childprocess.h"
#include "support/smtpserverprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

class MosquittoProcess {
public:
    // Every member has an initializer, so {.tls = ...} names only what
    // differs from the defaults.
    struct Options {
        // 0: an unused one.
        int port = 0;
        // (user, password): only these may connect. Empty: anyone may.
        std::vector<std::pair<std::string, std::string>> users{};
        std::optional<TlsCertificate> tls{};
    };

    // Returns once the broker listens; throws if it never does.
    explicit MosquittoProcess(Options options);
    MosquittoProcess() : MosquittoProcess(Options{}) {}
    ~MosquittoProcess();
    MosquittoProcess(const MosquittoProcess&) = delete;
    MosquittoProcess& operator=(const MosquittoProcess&) = delete;

    int port() const { return m_port; }
    bool running() const { return m_child != nullptr; }
    // Ends the broker (SIGTERM) and waits for it; nothing retained survives.
    void stop();
    // Starts it again on the same port and waits until it listens.
    void start();
    // What the broker logged, connections and refusals among it.
    std::string log() const;

private:
    TempDir m_directory;
    int m_port = 0;
    std::unique_ptr<ChildProcess> m_child;
};

}  // namespace brevanto::testing
