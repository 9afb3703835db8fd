// Hands work to the main thread, where every window and inverter variable
// lives. invokeAndWait is the reading thread's hand-over: it returns once the
// main thread has run the function. Called on the main thread itself, it runs
// the function at once.
#pragma once

#include <functional>

namespace brevanto {

class MainThreadInvoker {
public:
    virtual ~MainThreadInvoker() = default;
    virtual void invokeAndWait(std::function<void()> work) = 0;
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace brevanto
