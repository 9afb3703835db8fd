// What the request handler reads of an HTTP request. Headers, the query
// string and cookies play no part in any answer, so they are not carried.
#pragma once

#include <string>

namespace brevanto {

struct WebRequest {
    // "GET", "HEAD", "POST" or whatever else the client sent, as sent.
    std::string method;
    // The path without the query; compared exactly, case included.
    std::string path;
    // The body of a POST exactly as sent, still percent-encoded: the form
    // commands look for their field names in it by plain text search.
    std::string body;
    // The client's address as text: dotted for IPv4 (also when it came in
    // over an IPv6 socket), the usual colon form for IPv6.
    std::string peerAddress;
};

}  // namespace brevanto
