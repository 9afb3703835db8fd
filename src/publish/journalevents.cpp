#include "publish/journalevents.h"

#include <array>

namespace brevanto {

namespace {

struct Kind {
    std::string_view opening;
    std::string_view kind;
};

// The openings of the lines the program writes for each kind.
constexpr std::array<Kind, 11> kKinds = {{
    {"Inverter switched from ", "switch"},
    {"Line Fault: ", "line_fault"},
    {"Line restored: ", "line_restored"},
    {"Connected to ", "connection"},
    {"Connection to ", "connection"},
    {"Connected in Test Mode.", "connection"},
    {"Disconnected in Test Mode.", "connection"},
    {"Communication port ", "connection"},
    {"Inverter NOT connected on port ", "connection"},
    {"AutoReconnect executed", "connection"},
    {"FATAL: maximum number of reconnect", "connection"},
}};

}  // namespace

std::optional<std::string_view> publishedEventKind(std::string_view message) {
    for (const Kind& kind : kKinds) {
        if (message.starts_with(kind.opening)) {
            return kind.kind;
        }
    }
    // The configured port missing ("Port COM3 NOT found"), but not the
    // search's "Port COM3 Not Found.".
    if (message == "Port not found in system." ||
        (message.starts_with("Port ") && message.ends_with(" NOT found"))) {
        return "connection";
    }
    return std::nullopt;
}

}  // namespace brevanto
