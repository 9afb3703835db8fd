// Counts main-page requests per client address in the event list, and wakes
// the reading thread when readings are only taken on a web request.
#pragma once

#include <mutex>
#include <string_view>

#include "web/webhooks.h"

namespace brevanto {

class WebVisits {
public:
    explicit WebVisits(const WebHooks& hooks);

    // Runs on a connection thread. Never waits for the reading it wakes:
    // the page served now shows the previous cycle's values.
    void RecordWebVisit(std::string_view address);

private:
    // False when the list holds no visit line of `address`.
    bool countAgain(std::string_view address, std::string_view dateTime);

    const WebHooks& m_hooks;
    // Two first requests from one address at once must not both find no
    // line and write two. Only connection threads write visit lines, so
    // this lock, taken around the event list's own, is enough.
    std::mutex m_mutex;
};

}  // namespace brevanto
