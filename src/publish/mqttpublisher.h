// Publishes the readings and the events to an MQTT broker through Paho's
// asynchronous client, from a thread of its own: the main thread only
// hands over the latest state under a lock and never waits for the
// network. While the broker is away only the latest state is kept, and a
// bounded number of events, so nothing grows however long it stays away.
//
// Paho tries again by itself, a first connect that failed as well as a lost
// connection, after 1 s at first and then at most every 30 s. The journal
// gets one line when the broker is lost or cannot be reached and one when
// it is back, never one per attempt. Each time the broker is reached,
// "online" goes to the status topic (retained, with "offline" as the last
// will), then the discovery configs, then the latest state, retained so
// that a client that comes later sees it at once.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "publish/mqttsettings.h"
#include "publish/publishedstate.h"

namespace brevanto {

class MqttPublisher {
public:
    // Takes the publisher's journal lines, on the publisher's threads.
    using Report = std::function<void(const std::string& line)>;

    static constexpr std::size_t kHeldEvents = 100;

    MqttPublisher(Report report, std::string programVersion);
    // Ends as stop() does.
    ~MqttPublisher();
    MqttPublisher(const MqttPublisher&) = delete;
    MqttPublisher& operator=(const MqttPublisher&) = delete;

    // Empty settings turn publishing off. Settings that differ from the
    // last ones connect again; the same ones change nothing.
    void configure(std::optional<MqttSettings> settings);
    // Replaces a state not sent yet. Nothing goes out until a state names
    // the inverter; one that names another inverter connects again, under
    // that inverter's topics and last will.
    void publishState(PublishedState state);
    // Safe on any thread.
    void publishEvent(std::string_view kind, std::string_view text);
    // Says "offline", then disconnects, waiting a second at most. Runs once.
    void stop();

    // Any thread: whether the broker is connected now, what is held for it
    // (the state and the events waiting, in bytes), and the states sent.
    bool connected() const;
    std::size_t heldBytes() const;
    std::uint64_t statesSent() const;

private:
    struct Session;

    void run();
    // On the publisher's thread: the work it was woken for.
    void openSession(const MqttSettings& settings, const std::string& id, int generation);
    void closeSession();
    void connect();
    void announce();
    void send(const PublishedState& state);

    // Paho's callbacks, on its threads, for the session `generation`.
    void onConnected(int generation, const std::string& uri);
    void onConnectFailed(int generation, const std::string& uri, const std::string& reason);
    void onConnectionLost(int generation, const std::string& uri, const std::string& cause);
    void onDown(int generation, const std::string& line);
    void onMessage(int generation, const std::string& topic, const std::string& payload);

    const Report m_report;
    const std::string m_programVersion;

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    // What the program asked for.
    std::optional<MqttSettings> m_settings;
    std::string m_inverterId;
    bool m_reconfigure = false;
    bool m_stopping = false;
    // What waits for the broker.
    std::optional<PublishedState> m_pendingState;
    std::deque<std::string> m_pendingEvents;
    std::size_t m_pendingEventBytes = 0;
    // What the broker said, for the session `m_generation`.
    int m_generation = 0;
    bool m_connected = false;
    bool m_announce = false;
    bool m_downReported = false;
    std::uint64_t m_statesSent = 0;

    // The publisher's thread's own.
    std::unique_ptr<Session> m_session;

    std::once_flag m_stopped;
    std::thread m_thread;
};

}  // namespace brevanto
