#include "web/webvisits.h"

#include <climits>

#include "platform/optionalhooks.h"
#include "web/visitline.h"

namespace brevanto {

WebVisits::WebVisits(const WebHooks& hooks) : m_hooks(hooks) {}

void WebVisits::RecordWebVisit(std::string_view address) {
    const std::string dateTime = m_hooks.format.formatDateTime(m_hooks.clock.now());
    callIfSet(m_hooks.wakeReader);
    std::lock_guard lock(m_mutex);
    if (!countAgain(address, dateTime)) {
        m_hooks.events.WriteEvent(visitLine(dateTime, address, 1));
    }
}

bool WebVisits::countAgain(std::string_view address, std::string_view dateTime) {
    bool found = false;
    m_hooks.eventList.edit([&](EventList::Lines& lines) {
        for (auto line = lines.begin(); line != lines.end(); ++line) {
            if (visitAddress(*line) != address) {
                continue;
            }
            const long long count = visitCount(*line);
            lines.erase(line);
            lines.push_back(visitLine(dateTime, address, count < LLONG_MAX ? count + 1 : count));
            found = true;
            return;
        }
    });
    return found;
}

}  // namespace brevanto
