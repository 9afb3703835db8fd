// The program's entry, guarded: a fault before or outside the event loop
// (a settings folder that cannot be read, a resource that is missing) is
// said on standard error and in a message box, and the program ends with a
// failure status instead of vanishing through std::terminate.
#pragma once

#include <functional>
#include <string>

namespace brevanto {

inline constexpr int kStartupFailed = 1;

// Runs `program` and returns its status; when it throws, tells `report`
// what failed and returns kStartupFailed.
int runReportingStartupFailure(const std::function<int()>& program,
                               const std::function<void(const std::string&)>& report);

// Standard error, and a message box when an application object exists.
void reportStartupFailure(const std::string& what);

}  // namespace brevanto
