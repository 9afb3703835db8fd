#include "mail/directrelay.h"

#include <algorithm>

namespace brevanto {
namespace {

// The domain's mail servers, best first, then the domain itself, which is
// where mail goes when it names no server of its own.
std::vector<std::string> candidatesFor(const std::string& domain, MxLookup lookup) {
    std::vector<std::string> candidates = std::move(lookup.hosts);
    candidates.push_back(domain);
    return candidates;
}

RelayOutcome deliverToFirstTaker(const MailMessage& message, const RelayOptions& options,
                                 const std::vector<std::string>& candidates,
                                 const std::function<void(RelayStep)>& step) {
    for (const std::string& host : candidates) {
        step(RelayStep::Sending);
        const SmtpResult result =
            sendOverSmtp(message, {host, options.smtpPort, std::nullopt, options.extraCaFile,
                                   options.connectTimeout, options.totalTimeout, options.cancel});
        switch (result.outcome) {
            case SmtpOutcome::Sent:
                return RelayOutcome::Delivered;
            case SmtpOutcome::RecipientRefused:
                return RelayOutcome::WrongAddress;
            case SmtpOutcome::Refused:
                return RelayOutcome::Failed;
            case SmtpOutcome::NotConnected:
            case SmtpOutcome::TransientFailure:
                break;  // the next server may take it
        }
    }
    return RelayOutcome::TransientFailure;
}

RelayOutcome relay(const MailMessage& message, const RelayOptions& options,
                   const std::function<void(RelayStep)>& step) {
    const size_t at = message.address.rfind('@');
    if (at == std::string::npos || at + 1 == message.address.size()) {
        return RelayOutcome::WrongAddress;
    }
    const std::string domain = message.address.substr(at + 1);
    step(RelayStep::Resolving);
    MxLookup lookup = lookUpMailServers(domain, options.nameServer);
    switch (lookup.status) {
        case MxLookup::Status::NoSuchDomain:
            return RelayOutcome::WrongAddress;
        case MxLookup::Status::Failed:
            return RelayOutcome::TransientFailure;
        case MxLookup::Status::Found:
            break;
    }
    return deliverToFirstTaker(message, options, candidatesFor(domain, std::move(lookup)), step);
}

}  // namespace

RelayOutcome relayDirect(const MailMessage& message, const RelayOptions& options,
                         const std::function<void(RelayStep)>& step) {
    try {
        return relay(message, options, step);
    } catch (...) {
        // Nothing was delivered for sure; another try may do better.
        return RelayOutcome::TransientFailure;
    }
}

}  // namespace brevanto
