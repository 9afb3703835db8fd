#include "web/httpexchange.h"

#include <charconv>
#include <exception>
#include <string>
#include <string_view>

#include "web/httpdaemon.h"
#include "web/peeraddress.h"

namespace brevanto {
namespace {

constexpr unsigned kContentTooLarge = 413;

struct PendingRequest {
    std::string body;
};

bool reachesTheHandler(std::string_view method) {
    return method == "GET" || method == "HEAD" || method == "POST";
}

// The declared length, when there is one and it reads.
bool declaredLengthAbove(MHD_Connection* connection, std::size_t limit) {
    const char* text =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    if (text == nullptr) {
        return false;
    }
    const std::string_view digits(text);
    unsigned long long length = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    return result.ec == std::errc::result_out_of_range ||
           (result.ec == std::errc{} && length > limit);
}

MHD_Result answer(MHD_Connection* connection, const WebResponse& response) {
    // Copied by the library before this returns, so the text may go.
    MHD_Response* reply = MHD_create_response_from_buffer(
        response.body.size(), const_cast<char*>(response.body.data()), MHD_RESPMEM_MUST_COPY);
    if (reply == nullptr) {
        return MHD_NO;
    }
    if (!response.body.empty()) {
        MHD_add_response_header(reply, MHD_HTTP_HEADER_CONTENT_TYPE, response.contentType.c_str());
    }
    const MHD_Result queued =
        MHD_queue_response(connection, static_cast<unsigned>(response.status), reply);
    MHD_destroy_response(reply);
    return queued;
}

MHD_Result refuseTooLarge(MHD_Connection* connection) {
    return answer(connection, WebResponse{static_cast<int>(kContentTooLarge), {}});
}

MHD_Result answerError(MHD_Connection* connection, const char* message) noexcept {
    try {
        return answer(connection, WebResponse{500, message, WebResponse::kPlainText});
    } catch (...) {
        return MHD_NO;
    }
}

std::string peerAddress(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    return info != nullptr ? peerAddressText(info->client_addr) : std::string();
}

WebResponse handled(const HttpDaemon& daemon, const WebRequest& request) {
    try {
        return daemon.handler()(request);
    } catch (const std::exception& error) {
        return {500, error.what(), WebResponse::kPlainText};
    }
}

MHD_Result firstCall(HttpDaemon& daemon, MHD_Connection* connection, std::string_view method,
                     void** requestState) {
    *requestState = new PendingRequest;
    daemon.inFlight().begin();
    if (!reachesTheHandler(method)) {
        return answer(connection, WebResponse{});
    }
    // Refused before a byte of it is read: the library then sends no
    // "100 Continue" and closes the connection after the answer.
    if (declaredLengthAbove(connection, daemon.options().maxBodyBytes)) {
        return refuseTooLarge(connection);
    }
    return MHD_YES;
}

MHD_Result takeBody(const HttpDaemon& daemon, PendingRequest& pending, const char* data,
                    std::size_t* size) {
    // Only a body without a declared length (chunked) gets here too long.
    // The library cannot answer in the middle of a body, so the connection
    // is closed instead: reading the rest only to say 413 would let an
    // endless body hold its thread.
    if (pending.body.size() + *size > daemon.options().maxBodyBytes) {
        pending.body.clear();
        return MHD_NO;
    }
    pending.body.append(data, *size);
    *size = 0;
    return MHD_YES;
}

}  // namespace

MHD_Result HttpExchange::onAccess(void* cls, MHD_Connection* connection, const char* url,
                                  const char* method, const char* /*version*/,
                                  const char* uploadData, std::size_t* uploadDataSize,
                                  void** requestState) {
    auto& daemon = *static_cast<HttpDaemon*>(cls);
    try {
        if (*requestState == nullptr) {
            return firstCall(daemon, connection, method, requestState);
        }
        auto& pending = *static_cast<PendingRequest*>(*requestState);
        if (*uploadDataSize != 0) {
            return takeBody(daemon, pending, uploadData, uploadDataSize);
        }
        const WebRequest request{method, url, std::move(pending.body), peerAddress(connection)};
        return answer(connection, handled(daemon, request));
    } catch (const std::exception& error) {
        return answerError(connection, error.what());
    } catch (...) {
        return MHD_NO;
    }
}

void HttpExchange::onCompleted(void* cls, MHD_Connection* /*connection*/, void** requestState,
                               MHD_RequestTerminationCode /*reason*/) {
    if (*requestState == nullptr) {
        return;
    }
    delete static_cast<PendingRequest*>(*requestState);
    *requestState = nullptr;
    static_cast<HttpDaemon*>(cls)->inFlight().end();
}

}  // namespace brevanto
