#include "mail/maildelivery.h"

#include "platform/numberformat.h"

namespace brevanto {
namespace {

using Event = std::function<void(std::string)>;

bool throughSmtp(const MailJob& job, const DeliveryOptions& options, const Event& event,
                 const std::atomic<bool>& cancel) {
    const MailSettings& settings = job.settings;
    const std::optional<long long> port = parseInteger(settings.smtpPort);
    if (settings.smtpHost.empty() || !port || *port < 1 || *port > 65535) {
        // Nothing to connect to: another try would fail the same way.
        event("Send mail fail in connecting to SMTP.");
        return false;
    }
    SmtpEndpoint endpoint;
    endpoint.host = settings.smtpHost;
    endpoint.port = static_cast<long>(*port);
    if (settings.authRequired) {
        endpoint.login = SmtpLogin{settings.username, settings.password};
    }
    endpoint.extraCaFile = options.extraCaFile;
    endpoint.cancel = &cancel;
    switch (sendOverSmtp(job.message, endpoint).outcome) {
        case SmtpOutcome::Sent:
            event("Send mail Success.");
            return false;
        case SmtpOutcome::NotConnected:
            event("Send mail fail in connecting to SMTP.");
            return true;
        case SmtpOutcome::TransientFailure:
            event("Send mail failed.");
            return true;
        case SmtpOutcome::Refused:
        case SmtpOutcome::RecipientRefused:
            event("Send mail failed.");
            return false;
    }
    return false;
}

bool throughRelay(const MailJob& job, const DeliveryOptions& options, const Event& event,
                  const std::atomic<bool>& cancel) {
    const std::optional<NameServer> server =
        options.nameServer ? options.nameServer : firstNameServer(options.resolvConf);
    if (!server) {
        event("Resolving Mail Servers");
        event("Error Sending Message...");
        return true;
    }
    RelayOptions relay;
    relay.nameServer = *server;
    relay.smtpPort = options.relayPort;
    relay.extraCaFile = options.extraCaFile;
    relay.cancel = &cancel;
    const RelayOutcome outcome = relayDirect(job.message, relay, [&](RelayStep step) {
        event(step == RelayStep::Resolving ? "Resolving Mail Servers" : "Sending Message...");
    });
    switch (outcome) {
        case RelayOutcome::Delivered:
            event("Success!!");
            return false;
        case RelayOutcome::WrongAddress:
            event("Wrong Address.");
            return false;
        case RelayOutcome::Failed:
            event("Error Sending Message...");
            return false;
        case RelayOutcome::TransientFailure:
            event("Error Sending Message...");
            return true;
    }
    return false;
}

}  // namespace

MailDelivery mailDelivery(DeliveryOptions options) {
    return [options = std::move(options)](const MailJob& job, const Event& event,
                                          const std::atomic<bool>& cancel) {
        return job.settings.useInternal ? throughRelay(job, options, event, cancel)
                                        : throughSmtp(job, options, event, cancel);
    };
}

}  // namespace brevanto
