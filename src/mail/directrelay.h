// The direct relay ("Use DIRECT relay (no SMTP)"): the recipient domain's
// mail servers are looked up with c-ares (MX records, best preference
// first), and the mail is delivered to the first that takes it, then the
// next, and last to the domain's own address. Blocking, on the mail
// worker's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mail/mailmessage.h"
#include "mail/mxlookup.h"
#include "mail/smtpsession.h"

namespace brevanto {

enum class RelayStep { Resolving, Sending };

struct RelayOptions {
    NameServer nameServer;
    long smtpPort = 25;  // where the domain's servers listen; tests move it
    std::filesystem::path extraCaFile{};
    std::chrono::seconds connectTimeout{30};
    std::chrono::seconds totalTimeout{120};
    const std::atomic<bool>* cancel = nullptr;  // as SmtpEndpoint's
};

enum class RelayOutcome {
    Delivered,
    WrongAddress,      // a server refused the recipient, or the domain does not exist
    TransientFailure,  // no server could be reached, or each answered 4xx
    Failed,            // refused for good (5xx)
};

// `step` is told "resolving" before the lookup and "sending" before each
// delivery attempt, on the calling thread.
RelayOutcome relayDirect(const MailMessage& message, const RelayOptions& options,
                         const std::function<void(RelayStep)>& step);

}  // namespace brevanto
