// The program's one rule for a fault that escapes a piece of work: it ends
// that work only, and says so on standard error, so it leaves a trace.
#pragma once

#include <exception>
#include <utility>

namespace brevanto {

// Inside a catch block: writes "brevanto: <what> failed: <reason>".
void reportEscapedFault(const char* what) noexcept;

template <typename Work>
void runReportingFaults(const char* what, Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (...) {
        reportEscapedFault(what);
    }
}

}  // namespace brevanto
