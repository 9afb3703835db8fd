// The one way every layer reports to the event journal. The journal itself
// lives in the store layer; the link and the reading code only see this.
#pragma once

#include <string_view>

namespace brevanto {

class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void WriteEvent(std::string_view message) = 0;
};

}  // namespace brevanto
