#include "schedule/journaledmail.h"

namespace brevanto {

void JournaledMail::SendMail(const std::string& body, const std::filesystem::path& attachment) {
    std::string line =
        "Mail not sent (no mail service): " + body.substr(0, body.find_first_of("\r\n"));
    if (!attachment.empty()) {
        line += " [" + attachment.filename().string() + "]";
    }
    m_events.WriteEvent(line);
}

}  // namespace brevanto
