#include "mail/smtpsession.h"

#include <curl/curl.h>

#include <array>
#include <memory>
#include <string_view>

namespace brevanto {
namespace {

struct CurlCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

template <typename T>
using CurlPtr = std::unique_ptr<T, CurlCleanup>;

// curl_global_init is not to be raced by two mail threads; a function-local
// static runs it once, whichever thread comes first.
void initialiseCurlOnce() {
    static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    static_cast<void>(initialised);
}

// Which command the first refusal answered, so that a 5xx is laid at the
// recipient's door only when it answered RCPT TO; the QUIT that follows a
// refusal must not blur it.
struct Dialogue {
    bool lastCommandWasRecipient = false;
    bool refused = false;
    bool refusedRecipient = false;
};

int followDialogue(CURL*, curl_infotype type, char* data, size_t size, void* context) {
    auto& dialogue = *static_cast<Dialogue*>(context);
    const std::string_view line(data, size);
    if (type == CURLINFO_HEADER_OUT) {
        dialogue.lastCommandWasRecipient = line.starts_with("RCPT");
    } else if (type == CURLINFO_HEADER_IN && !dialogue.refused &&
               (line.starts_with('4') || line.starts_with('5'))) {
        dialogue.refused = true;
        dialogue.refusedRecipient = dialogue.lastCommandWasRecipient;
    }
    return 0;
}

// Through curl's URL parser, which refuses a host with blanks, slashes or
// an "@", so a host setting can only ever name a host.
CurlPtr<CURLU> serverUrl(const SmtpEndpoint& endpoint) {
    CurlPtr<CURLU> url(curl_url());
    const bool ipv6 = endpoint.host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + endpoint.host + "]" : endpoint.host;
    const std::string port = std::to_string(endpoint.port);
    // 465 is SMTP inside TLS from the first byte; every other port may
    // offer STARTTLS.
    const char* scheme = endpoint.port == 465 ? "smtps" : "smtp";
    if (!url || curl_url_set(url.get(), CURLUPART_SCHEME, scheme, 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_HOST, host.c_str(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_PORT, port.c_str(), 0) != CURLUE_OK) {
        return nullptr;
    }
    return url;
}

CurlPtr<curl_slist> messageHeaders(const MailMessage& message) {
    curl_slist* list = nullptr;
    for (const std::string& header :
         {"From: <" + message.address + ">", "To: <" + message.address + ">",
          "Subject: " + message.subject}) {
        curl_slist* longer = curl_slist_append(list, header.c_str());
        if (longer == nullptr) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = longer;
    }
    return CurlPtr<curl_slist>(list);
}

CurlPtr<curl_mime> mimeMessage(CURL* handle, const MailMessage& message) {
    CurlPtr<curl_mime> mime(curl_mime_init(handle));
    curl_mimepart* text = mime ? curl_mime_addpart(mime.get()) : nullptr;
    if (text == nullptr) {
        return nullptr;
    }
    curl_mime_data(text, message.body.data(), message.body.size());
    curl_mime_type(text, "text/plain; charset=utf-8");
    // Quoted-printable keeps a long line or a byte above 127 intact through
    // any server, 8-bit clean or not.
    curl_mime_encoder(text, "quoted-printable");
    if (message.attachment) {
        curl_mimepart* file = curl_mime_addpart(mime.get());
        if (file == nullptr) {
            return nullptr;
        }
        curl_mime_data(file, message.attachment->bytes.data(), message.attachment->bytes.size());
        curl_mime_filename(file, message.attachment->fileName.c_str());
        curl_mime_encoder(file, "base64");
    }
    return mime;
}

// libcurl asks about once a second, and at every transfer step.
int cancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

void setTransport(CURL* handle, const SmtpEndpoint& endpoint) {
    if (endpoint.cancel != nullptr) {
        curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, cancelled);
        curl_easy_setopt(handle, CURLOPT_XFERINFODATA, endpoint.cancel);
        curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    }
    curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_TRY));
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    // The file stands in for the CA bundle; the system's CA directory
    // (Debian's libcurl is built with /etc/ssl/certs) is still consulted.
    if (!endpoint.extraCaFile.empty()) {
        curl_easy_setopt(handle, CURLOPT_CAINFO, endpoint.extraCaFile.c_str());
    }
    if (endpoint.login) {
        curl_easy_setopt(handle, CURLOPT_USERNAME, endpoint.login->username.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, endpoint.login->password.c_str());
    }
    // A mail server is reached directly; a web proxy from the environment
    // would only stand in the way.
    curl_easy_setopt(handle, CURLOPT_PROXY, "");
    // The session ends with QUIT within the call, not when the handle goes.
    curl_easy_setopt(handle, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT,
                     static_cast<long>(endpoint.connectTimeout.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, static_cast<long>(endpoint.totalTimeout.count()));
    // Signals belong to the whole program, and this runs on a worker thread.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
}

bool isCertificateFailure(CURLcode code) {
    return code == CURLE_PEER_FAILED_VERIFICATION || code == CURLE_SSL_CONNECT_ERROR ||
           code == CURLE_SSL_CACERT_BADFILE || code == CURLE_SSL_CERTPROBLEM ||
           code == CURLE_SSL_ISSUER_ERROR;
}

bool reachedServer(CURL* handle) {
    curl_off_t connectMicroseconds = 0;
    curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectMicroseconds);
    return connectMicroseconds > 0;
}

SmtpOutcome outcomeOf(CURLcode code, long replyCode, bool connected, const Dialogue& dialogue) {
    if (code == CURLE_OK) {
        return SmtpOutcome::Sent;
    }
    if (isCertificateFailure(code)) {
        return SmtpOutcome::NotConnected;
    }
    if (replyCode >= 400 && replyCode < 500) {
        return SmtpOutcome::TransientFailure;
    }
    if (replyCode >= 500 && replyCode < 600) {
        return dialogue.refusedRecipient ? SmtpOutcome::RecipientRefused : SmtpOutcome::Refused;
    }
    return connected ? SmtpOutcome::TransientFailure : SmtpOutcome::NotConnected;
}

// The dialogue and the error buffer are declared before the handle, which
// may still report into them while it closes.
SmtpResult send(const MailMessage& message, const SmtpEndpoint& endpoint) {
    Dialogue dialogue;
    std::array<char, CURL_ERROR_SIZE> error{};
    const auto url = serverUrl(endpoint);
    if (!url) {
        return {SmtpOutcome::NotConnected, 0, "'" + endpoint.host + "' is not a host name"};
    }
    const std::string mailbox = "<" + message.address + ">";
    const CurlPtr<curl_slist> recipients(curl_slist_append(nullptr, mailbox.c_str()));
    const auto headers = messageHeaders(message);
    const CurlPtr<CURL> handle(curl_easy_init());
    const auto mime = handle ? mimeMessage(handle.get(), message) : nullptr;
    if (!recipients || !headers || !mime) {
        return {SmtpOutcome::NotConnected, 0, "libcurl could not set the mail up"};
    }
    curl_easy_setopt(handle.get(), CURLOPT_CURLU, url.get());
    curl_easy_setopt(handle.get(), CURLOPT_MAIL_FROM, mailbox.c_str());
    curl_easy_setopt(handle.get(), CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(handle.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle.get(), CURLOPT_MIMEPOST, mime.get());
    setTransport(handle.get(), endpoint);
    curl_easy_setopt(handle.get(), CURLOPT_DEBUGFUNCTION, followDialogue);
    curl_easy_setopt(handle.get(), CURLOPT_DEBUGDATA, &dialogue);
    curl_easy_setopt(handle.get(), CURLOPT_VERBOSE, 1L);  // the debug function hears only then
    curl_easy_setopt(handle.get(), CURLOPT_ERRORBUFFER, error.data());

    const CURLcode code = curl_easy_perform(handle.get());
    long replyCode = 0;
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &replyCode);
    return {outcomeOf(code, replyCode, reachedServer(handle.get()), dialogue), replyCode,
            error[0] != '\0' ? std::string(error.data()) : curl_easy_strerror(code)};
}

}  // namespace

SmtpResult sendOverSmtp(const MailMessage& message, const SmtpEndpoint& endpoint) {
    try {
        // composeMail already took them out; a message put together
        // elsewhere must not add a command or a header either.
        if (!fitsOneHeaderLine(message.address) || !fitsOneHeaderLine(message.subject) ||
            (message.attachment && !fitsOneHeaderLine(message.attachment->fileName))) {
            return {SmtpOutcome::Refused, 0, "a header of the mail holds a control character"};
        }
        initialiseCurlOnce();
        return send(message, endpoint);
    } catch (const std::exception& error) {
        return {SmtpOutcome::NotConnected, 0, error.what()};
    }
}

}  // namespace brevanto
