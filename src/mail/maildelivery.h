// How one try at a mail goes, in the event lines the user knows: through
// the SMTP server of the settings ("Send mail Success.", "Send mail fail in
// connecting to SMTP.", "Send mail failed."), or with "Use DIRECT relay (no
// SMTP)" straight to the recipient domain's servers ("Resolving Mail
// Servers", "Sending Message...", then "Success!!", "Wrong Address." or
// "Error Sending Message..."). No connection, a time-out or a 4xx reply is
// worth another try; a refusal for good and a setting that cannot work are
// not.
#pragma once

#include <filesystem>
#include <optional>

#include "mail/directrelay.h"
#include "mail/mailworker.h"

namespace brevanto {

struct DeliveryOptions {
    // The relay asks the first name server of this file...
    std::filesystem::path resolvConf = "/etc/resolv.conf";
    // ... unless one is given here (the tests' own).
    std::optional<NameServer> nameServer{};
    // Where the recipient domain's servers listen; tests move it.
    long relayPort = 25;
    // Trusted besides the system's CAs: a test's own certificate.
    std::filesystem::path extraCaFile{};
};

MailDelivery mailDelivery(DeliveryOptions options = {});

}  // namespace brevanto
