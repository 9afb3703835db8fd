// A list of listeners that a component tells of its changes, in the order
// they were added. Adding one gives a subscription; the listener stays on
// the list exactly as long as the subscription lives, so a window that goes
// before the component it watches is never called again.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace brevanto {

class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : m_cancel(std::move(cancel)) {}
    ~Subscription() { cancel(); }
    Subscription(Subscription&& other) noexcept : m_cancel(std::exchange(other.m_cancel, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            cancel();
            m_cancel = std::exchange(other.m_cancel, {});
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

    void cancel() {
        if (m_cancel) {
            std::exchange(m_cancel, {})();
        }
    }

private:
    std::function<void()> m_cancel;
};

// Single-threaded: added, removed and told on the owner's thread. Either
// side may go first: a subscription that outlives its list cancels nothing.
template <typename... Args>
class Listeners {
public:
    using Listener = std::function<void(const Args&...)>;

    Listeners() = default;
    Listeners(const Listeners&) = delete;
    Listeners& operator=(const Listeners&) = delete;

    [[nodiscard]] Subscription add(Listener listener) {
        const int id = m_nextId++;
        m_entries->push_back({id, std::make_shared<Listener>(std::move(listener))});
        return Subscription([weak = std::weak_ptr<Entries>(m_entries), id] {
            if (const auto entries = weak.lock()) {
                std::erase_if(*entries, [id](const Entry& e) { return e.id == id; });
            }
        });
    }

    // A listener may cancel any subscription, its own too, while it is told.
    void notify(const Args&... args) const {
        const Entries entries = *m_entries;
        for (const Entry& entry : entries) {
            if (isStillListed(entry.id)) {
                (*entry.listener)(args...);
            }
        }
    }

private:
    struct Entry {
        int id;
        std::shared_ptr<Listener> listener;
    };
    using Entries = std::vector<Entry>;

    bool isStillListed(int id) const {
        return std::any_of(m_entries->begin(), m_entries->end(),
                           [id](const Entry& e) { return e.id == id; });
    }

    std::shared_ptr<Entries> m_entries = std::make_shared<Entries>();
    int m_nextId = 0;
};

}  // namespace brevanto
