// dnsmasq as a name server on loopback for one test: it answers only from
// the records the test gives it, never from this machine's resolver or
// hosts file, so a test knows every answer it can get.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/childprocess.h"
#include "support/tempdir.h"

namespace brevanto::testing {

class DnsServerProcess {
public:
    // `records` are dnsmasq options such as "--mx-host=example.test,localhost,10".
    // Every name under .test it is not given is answered "no such domain".
    // Returns once the server answers; throws if it never does.
    explicit DnsServerProcess(const std::vector<std::string>& records);
    // The server ends with the object (SIGTERM).
    ~DnsServerProcess();
    DnsServerProcess(const DnsServerProcess&) = delete;
    DnsServerProcess& operator=(const DnsServerProcess&) = delete;

    static constexpr const char* kAddress = "127.0.0.1";
    int port() const { return m_port; }

private:
    bool start(const std::vector<std::string>& records);
    bool answers() const;
    std::string log() const;

    TempDir m_dir;
    int m_port = 0;
    std::unique_ptr<ChildProcess> m_child;
};

// A UDP port on loopback that nothing listened on a moment ago.
int freeUdpPort();

}  // namespace brevanto::testing
