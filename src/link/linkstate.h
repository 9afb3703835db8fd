// The link's state as the window shows it: the captions of the connect
// button and of the status label, and whether the connect button and the
// "Test mode" box can be used. "Connected" means the button reads
// "Disconnect". The reading thread asks it before every exchange, so it
// keeps its fields behind a lock.
#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace brevanto {

class LinkState {
public:
    static constexpr const char* kConnect = "Connect";
    static constexpr const char* kDisconnect = "Disconnect";

    struct Snapshot {
        std::string connectCaption = kConnect;  // Connect1
        std::string labelCaption = "---";       // Label1
        bool connectEnabled = true;
        bool testChecked = false;  // the Test box
        bool testEnabled = true;

        bool operator==(const Snapshot&) const = default;
    };

    Snapshot snapshot() const;
    bool connected() const;
    bool testMode() const;
    std::string labelCaption() const;

    void setConnectCaption(std::string caption);
    void setLabelCaption(std::string caption);
    void setConnectEnabled(bool enabled);
    void setTestChecked(bool checked);
    void setTestEnabled(bool enabled);

    // Called after every change, outside the lock, on the changing thread.
    void setChangeListener(std::function<void()> listener);

private:
    void change(const std::function<void(Snapshot&)>& edit);

    mutable std::mutex m_mutex;
    Snapshot m_state;
    std::function<void()> m_listener;
};

}  // namespace brevanto
