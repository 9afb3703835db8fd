// The least time an exchange can take on a 2400 baud 8N1 line: 10 bits a
// byte both ways, plus the 220 ms of silence that ends a read of unknown
// length.
#pragma once

#include "link/frames.h"
#include "link/inverterprotocol.h"

namespace brevanto {

inline constexpr double kByteMs = 10.0 / 2400.0 * 1000.0;

inline double exchangeMinimumMs(InverterCommand command, int replyBytes, bool endsOnSilence) {
    const double bytes =
        static_cast<double>(commandFrame(commandText(command)).size()) + replyBytes;
    return bytes * kByteMs + (endsOnSilence ? TComm::kStreamSilenceMs : 0.0);
}

}  // namespace brevanto
