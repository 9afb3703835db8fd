// Hooks that a part of the program may leave empty: an empty one is a part
// not there (yet), and calling it does nothing.
#pragma once

#include <functional>
#include <utility>

namespace brevanto {

template <typename... Params, typename... Args>
void callIfSet(const std::function<void(Params...)>& hook, Args&&... args) {
    if (hook) {
        hook(std::forward<Args>(args)...);
    }
}

// An empty condition does not hold.
inline bool holds(const std::function<bool()>& condition) {
    return condition && condition();
}

}  // namespace brevanto
