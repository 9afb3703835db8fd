// The [Mail] settings a mail is sent with, copied when the mail is asked
// for: a change in the settings dialog never reaches a mail on its way.
#pragma once

#include <string>

#include "store/tdati.h"

namespace brevanto {

struct MailSettings {
    std::string address{};   // Address: sender and recipient
    std::string smtpHost{};  // SMTP
    std::string smtpPort{};  // Port, as typed
    bool authRequired = false;
    std::string username{};
    std::string password{};
    bool useInternal = false;  // "Use DIRECT relay (no SMTP)"
};

MailSettings mailSettings(const TDati& settings);

}  // namespace brevanto
