// The library's side of one request: collects the body up to the limit,
// turns the request into a WebRequest for the handler and the handler's
// WebResponse into the library's response. C callbacks: nothing may throw
// out of them.
#pragma once

#include <cstddef>

#include <microhttpd.h>

namespace brevanto {

class HttpExchange {
public:
    // MHD_AccessHandlerCallback; `daemon` is the HttpDaemon.
    static MHD_Result onAccess(void* daemon, MHD_Connection* connection, const char* url,
                               const char* method, const char* version, const char* uploadData,
                               std::size_t* uploadDataSize, void** requestState);
    // MHD_RequestCompletedCallback.
    static void onCompleted(void* daemon, MHD_Connection* connection, void** requestState,
                            MHD_RequestTerminationCode reason);
};

}  // namespace brevanto
