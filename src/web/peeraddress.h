// A client's address as the visit lines show it.
#pragma once

#include <string>

struct sockaddr;

namespace brevanto {

// Dotted text for IPv4, also for an IPv4 client seen through an IPv6 socket
// ("::ffff:192.0.2.20" reads "192.0.2.20"); the usual text for IPv6. Empty
// for anything else.
std::string peerAddressText(const sockaddr* address);

}  // namespace brevanto
