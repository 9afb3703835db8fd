// The link's state: a phase that code reads, and the captions the window
// shows for it (the connect button and the status label), with whether the
// connect button and the "Test mode" box can be used. "Connected" means the
// connect button reads "Disconnect", which it does while a connect is under
// way and while the link runs. The reading thread asks it before every
// exchange, so it keeps its fields behind a lock.
#pragma once

#include <functional>
#include <mutex>
#include <string>

namespace brevanto {

enum class LinkPhase {
    Idle,        // never connected, or disconnected by the user or the watchdog
    Connecting,  // a connect is looking for the inverter
    Running,     // readings come in (or test mode makes them up)
    Failed,      // the last connect found no inverter
};

class LinkState {
public:
    static constexpr const char* kConnect = "Connect";
    static constexpr const char* kDisconnect = "Disconnect";

    struct Snapshot {
        LinkPhase phase = LinkPhase::Idle;
        std::string labelCaption = "---";  // Label1
        bool connectEnabled = true;
        bool testChecked = false;  // the Test box
        bool testEnabled = true;

        bool connected() const {
            return phase == LinkPhase::Connecting || phase == LinkPhase::Running;
        }
        // Connect1's caption.
        const char* connectCaption() const { return connected() ? kDisconnect : kConnect; }
        bool operator==(const Snapshot&) const = default;
    };

    Snapshot snapshot() const;
    LinkPhase phase() const;
    bool connected() const;
    bool testMode() const;
    std::string labelCaption() const;
    // What the inverter last answered to "QID": its serial number.
    std::string inverterSerial() const;

    void setPhase(LinkPhase phase);
    void setLabelCaption(std::string caption);
    void setConnectEnabled(bool enabled);
    void setTestChecked(bool checked);
    void setTestEnabled(bool enabled);
    void setInverterSerial(std::string serial);

    // Called after every change, outside the lock, on the changing thread.
    void setChangeListener(std::function<void()> listener);

private:
    void change(const std::function<void(Snapshot&)>& edit);

    mutable std::mutex m_mutex;
    Snapshot m_state;
    std::string m_inverterSerial;
    std::function<void()> m_listener;
};

}  // namespace brevanto
