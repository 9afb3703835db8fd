#include "platform/faultreport.h"

#include <cstdio>

namespace brevanto {

void reportEscapedFault(const char* what) noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "brevanto: %s failed: %s\n", what, error.what());
    } catch (...) {
        std::fprintf(stderr, "brevanto: %s failed\n", what);
    }
}

}  // namespace brevanto
