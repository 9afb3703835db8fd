#include "mail/mailsettings.h"

namespace brevanto {

MailSettings mailSettings(const TDati& settings) {
    return {settings.mailAddress,  settings.smtpHost,     settings.smtpPort,
            settings.authRequired, settings.mailUsername, settings.mailPassword,
            settings.useInternal};
}

}  // namespace brevanto
