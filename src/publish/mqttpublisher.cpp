#include "publish/mqttpublisher.h"

#include <mqtt/async_client.h>

#include <algorithm>
#include <utility>

#include "platform/faultreport.h"
#include "publish/mqttpayloads.h"
#include "publish/mqtttopics.h"

namespace brevanto {

namespace {

constexpr std::chrono::seconds kLongestRetry{30};
constexpr std::chrono::seconds kKeepAlive{30};
constexpr std::chrono::seconds kConnectTimeout{10};
constexpr std::chrono::seconds kGoodbyeTimeout{1};
// Every message at one level: a broker keeps the order of one client's
// messages only within a level, and the configs must come before the state.
constexpr int kQos = 1;

// What a refused connect means, in the journal's words.
std::string connectFailure(int code) {
    switch (code) {
        case 1:
            return "the broker refused the protocol version";
        case 2:
            return "the broker refused the client id";
        case 3:
            return "the broker is unavailable";
        case 4:
            return "bad user name or password";
        case 5:
            return "not authorized";
        default:
            return "no connection";
    }
}

}  // namespace

// One connection to one broker for one inverter: Paho's client, its
// callbacks, and what must go again each time the broker comes back.
struct MqttPublisher::Session : mqtt::iaction_listener {
    Session(MqttPublisher& publisher, const MqttSettings& settings, const std::string& id,
            int generation)
        : publisher(publisher),
          settings(settings),
          topics{settings.topic, id},
          generation(generation),
          client(settings.serverUri(), "brevanto-" + id) {}

    void on_failure(const mqtt::token& token) override {
        runReportingFaults("an MQTT connect", [&] {
            publisher.onConnectFailed(generation, settings.serverUri(),
                                      connectFailure(token.get_return_code()));
        });
    }
    // The connected handler says it, for the first connect and every later one.
    void on_success(const mqtt::token&) override {}

    MqttPublisher& publisher;
    const MqttSettings settings;
    const MqttTopics topics;
    const int generation;
    mqtt::async_client client;
    std::optional<PublishedState> lastSent;
};

MqttPublisher::MqttPublisher(Report report, std::string programVersion)
    : m_report(std::move(report)),
      m_programVersion(std::move(programVersion)),
      // Nothing may escape a thread: a fault ends the publishing, and says so.
      m_thread([this] { runReportingFaults("the MQTT publisher", [this] { run(); }); }) {}

MqttPublisher::~MqttPublisher() {
    stop();
}

void MqttPublisher::configure(std::optional<MqttSettings> settings) {
    std::lock_guard lock(m_mutex);
    if (settings == m_settings) {
        return;
    }
    m_settings = std::move(settings);
    m_reconfigure = true;
    m_wake.notify_one();
}

void MqttPublisher::publishState(PublishedState state) {
    std::lock_guard lock(m_mutex);
    if (state.inverterId != m_inverterId) {
        m_inverterId = state.inverterId;
        m_reconfigure = true;
    }
    m_pendingState = std::move(state);
    m_wake.notify_one();
}

void MqttPublisher::publishEvent(std::string_view kind, std::string_view text) {
    std::string payload = eventMessage(kind, text);
    std::lock_guard lock(m_mutex);
    if (!m_settings) {
        return;
    }
    if (m_pendingEvents.size() == kHeldEvents) {
        m_pendingEventBytes -= m_pendingEvents.front().size();
        m_pendingEvents.pop_front();
    }
    m_pendingEventBytes += payload.size();
    m_pendingEvents.push_back(std::move(payload));
    m_wake.notify_one();
}

void MqttPublisher::stop() {
    std::call_once(m_stopped, [this] {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
            m_wake.notify_one();
        }
        m_thread.join();
    });
}

bool MqttPublisher::connected() const {
    std::lock_guard lock(m_mutex);
    return m_connected;
}

std::size_t MqttPublisher::heldBytes() const {
    std::lock_guard lock(m_mutex);
    return m_pendingEventBytes + (m_pendingState ? sizeof(PublishedState) : 0);
}

std::uint64_t MqttPublisher::statesSent() const {
    std::lock_guard lock(m_mutex);
    return m_statesSent;
}

void MqttPublisher::run() {
    std::unique_lock lock(m_mutex);
    const auto due = [this] {
        return m_stopping || m_reconfigure ||
               (m_connected &&
                (m_announce || m_pendingState.has_value() || !m_pendingEvents.empty()));
    };
    for (;;) {
        m_wake.wait(lock, due);
        if (m_stopping) {
            break;
        }
        if (m_reconfigure) {
            m_reconfigure = false;
            const std::optional<MqttSettings> settings = m_settings;
            const std::string id = m_inverterId;
            const int generation = ++m_generation;
            m_connected = false;
            m_announce = false;
            m_downReported = false;
            if (!settings) {
                m_pendingEvents.clear();
                m_pendingEventBytes = 0;
            }
            lock.unlock();
            closeSession();
            if (settings && !id.empty()) {
                openSession(*settings, id, generation);
            }
            lock.lock();
            continue;
        }
        if (m_connected && m_session) {
            const bool announcing = std::exchange(m_announce, false);
            std::optional<PublishedState> state = std::exchange(m_pendingState, std::nullopt);
            std::deque<std::string> events = std::exchange(m_pendingEvents, {});
            m_pendingEventBytes = 0;
            lock.unlock();
            if (announcing) {
                announce();
            }
            if (state) {
                send(*state);
            } else if (announcing && m_session->lastSent) {
                send(*m_session->lastSent);
            }
            for (const std::string& event : events) {
                try {
                    m_session->client.publish(m_session->topics.event(), event.data(), event.size(),
                                              kQos, false);
                } catch (const mqtt::exception&) {
                    // Lost meanwhile: the connection-lost handler says so.
                }
            }
            lock.lock();
        }
    }
    lock.unlock();
    closeSession();
}

void MqttPublisher::openSession(const MqttSettings& settings, const std::string& id,
                                int generation) {
    try {
        m_session = std::make_unique<Session>(*this, settings, id, generation);
    } catch (const mqtt::exception& error) {
        m_report("MQTT broker " + settings.serverUri() + " not used: " + error.what() + ".");
        return;
    }
    // The handlers stay until the client goes: a stale session's calls are
    // known by their generation.
    mqtt::async_client& client = m_session->client;
    const std::string uri = settings.serverUri();
    // Paho's threads call these: nothing may escape them either.
    client.set_connected_handler([this, generation, uri](const std::string&) {
        runReportingFaults("an MQTT connect", [&] { onConnected(generation, uri); });
    });
    client.set_connection_lost_handler([this, generation, uri](const std::string& cause) {
        runReportingFaults("an MQTT loss", [&] { onConnectionLost(generation, uri, cause); });
    });
    client.set_message_callback([this, generation](mqtt::const_message_ptr message) {
        runReportingFaults("an MQTT message", [&] {
            onMessage(generation, message->get_topic(), message->get_payload_str());
        });
    });
    connect();
}

void MqttPublisher::connect() {
    const MqttSettings& settings = m_session->settings;
    auto options = mqtt::connect_options_builder()
                       .clean_session(true)
                       .keep_alive_interval(kKeepAlive)
                       .connect_timeout(kConnectTimeout)
                       .automatic_reconnect(std::chrono::seconds(1), kLongestRetry)
                       .will(mqtt::message(m_session->topics.status(), "offline", kQos, true))
                       .finalize();
    if (!settings.username.empty()) {
        options.set_user_name(settings.username);
        options.set_password(settings.password);
    }
    if (settings.tls) {
        // The system's certificate authorities, and the broker's name
        // checked against its certificate.
        options.set_ssl(
            mqtt::ssl_options_builder().enable_server_cert_auth(true).verify(true).finalize());
    }
    try {
        m_session->client.connect(options, nullptr, *m_session);
    } catch (const mqtt::exception& error) {
        onConnectFailed(m_session->generation, settings.serverUri(), error.get_error_str());
    }
}

// Every message of a return, in its order: the status, Home Assistant's
// birth subscription, the configs.
void MqttPublisher::announce() {
    Session& session = *m_session;
    try {
        session.client.publish(session.topics.status(), "online", 6, kQos, true);
        if (session.settings.discovery) {
            session.client.subscribe(kHomeAssistantStatusTopic, kQos);
            for (const TopicMessage& config : discoveryConfigs(session.topics, m_programVersion)) {
                session.client.publish(config.topic, config.payload.data(), config.payload.size(),
                                       kQos, true);
            }
        }
    } catch (const mqtt::exception&) {
        // Lost meanwhile: the next return announces again.
    }
}

void MqttPublisher::send(const PublishedState& state) {
    Session& session = *m_session;
    const std::string payload = stateMessage(state);
    try {
        session.client.publish(session.topics.state(), payload.data(), payload.size(), kQos, true);
        session.lastSent = state;
        std::lock_guard lock(m_mutex);
        ++m_statesSent;
    } catch (const mqtt::exception&) {
        // Lost meanwhile: the state goes when the broker is back.
        session.lastSent = state;
    }
}

void MqttPublisher::closeSession() {
    if (!m_session) {
        return;
    }
    mqtt::async_client& client = m_session->client;
    try {
        if (client.is_connected()) {
            // A goodbye says what the last will would have said.
            client.publish(m_session->topics.status(), "offline", 7, kQos, true)
                ->wait_for(kGoodbyeTimeout);
        }
        // Also ends a connect still under way.
        client.disconnect(kGoodbyeTimeout)->wait_for(kGoodbyeTimeout * 2);
    } catch (const mqtt::exception&) {
        // Not connected, or going anyway.
    }
    m_session.reset();
}

void MqttPublisher::onConnected(int generation, const std::string& uri) {
    std::string line;
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_generation) {
            return;
        }
        m_connected = true;
        m_announce = true;
        m_downReported = false;
        line = "MQTT broker " + uri + " connected.";
        m_wake.notify_one();
    }
    m_report(line);
}

void MqttPublisher::onConnectFailed(int generation, const std::string& uri,
                                    const std::string& reason) {
    onDown(generation, "MQTT broker " + uri + " not reached: " + reason + ".");
}

void MqttPublisher::onConnectionLost(int generation, const std::string& uri,
                                     const std::string& cause) {
    onDown(generation, "MQTT broker " + uri + " lost" + (cause.empty() ? "" : ": " + cause) + ".");
}

// The first failure or loss since the broker was last reached is said; the
// attempts after it are not.
void MqttPublisher::onDown(int generation, const std::string& line) {
    {
        std::lock_guard lock(m_mutex);
        if (generation != m_generation) {
            return;
        }
        m_connected = false;
        if (std::exchange(m_downReported, true)) {
            return;
        }
    }
    m_report(line);
}

void MqttPublisher::onMessage(int generation, const std::string& topic,
                              const std::string& payload) {
    if (topic != kHomeAssistantStatusTopic || payload != "online") {
        return;
    }
    std::lock_guard lock(m_mutex);
    if (generation == m_generation) {
        m_announce = true;
        m_wake.notify_one();
    }
}

}  // namespace brevanto
