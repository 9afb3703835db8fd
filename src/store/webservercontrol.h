// The web server as the settings see it: applying the settings restarts it on
// the configured port. The web layer provides the real one.
#pragma once

#include <string>

namespace brevanto {

class WebServerControl {
public:
    virtual ~WebServerControl() = default;
    virtual bool isActive() const = 0;
    // False when the server raised an error while stopping or starting.
    virtual bool deactivate() = 0;
    virtual bool activate(int port) = 0;
    // Why the last activate failed, in the system's words, so that the
    // user learns what to change (a port in use, a port that needs
    // privileges); empty when there is nothing to add.
    virtual std::string failureReason() const { return {}; }
};

}  // namespace brevanto
