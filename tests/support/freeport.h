// A loopback port nobody listens on now, as the system hands one out: for a
// program that must be given its port up front.
#pragma once

namespace brevanto::testing {

int unusedPort();

}  // namespace brevanto::testing
