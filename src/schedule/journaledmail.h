// Stands in for the mail service until the program has one: each mail the
// program would send is journaled with its first line, so the user sees
// what was due and when.
#pragma once

#include "platform/eventsink.h"
#include "platform/mailsender.h"

namespace brevanto {

class JournaledMail final : public MailSender {
public:
    explicit JournaledMail(EventSink& events) : m_events(events) {}

    void SendMail(const std::string& body, const std::filesystem::path& attachment) override;

private:
    EventSink& m_events;
};

}  // namespace brevanto
