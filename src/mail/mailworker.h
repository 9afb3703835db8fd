// The program's mails go out here, one at a time and in the order they were
// asked for, on a thread of their own: the window never waits for the
// network. SendMail takes the settings and reads the attachment at once, so
// a file rewritten at the day change goes as it was. A mail that meets a
// passing failure (no connection, a time-out, a 4xx reply) is tried again
// three times over about half an hour, each try journaled; a refusal for
// good is not. Every event line reaches the journal through the main
// thread, in order.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "mail/mailmessage.h"
#include "mail/mailsettings.h"
#include "platform/listeners.h"
#include "platform/mailsender.h"
#include "platform/services.h"

namespace brevanto {

struct MailJob {
    MailSettings settings;
    MailMessage message;
};

// One try at delivering a mail, on the worker's thread: its event lines go
// to `event` as they happen; true when a passing failure is worth another
// try. It gives up soon once `cancel` is set (the program is ending).
using MailDelivery =
    std::function<bool(const MailJob& job, const std::function<void(std::string)>& event,
                       const std::atomic<bool>& cancel)>;

class MailWorker final : public MailSender {
public:
    // The waits before the second, third and fourth try.
    using RetryDelays = std::vector<std::chrono::milliseconds>;
    static RetryDelays halfAnHour();

    MailWorker(const Services& services, std::function<MailSettings()> settings,
               MailDelivery delivery, RetryDelays retryDelays = halfAnHour());
    // Ends the thread without waiting for the queue: see drainAtClose.
    ~MailWorker() override;
    MailWorker(const MailWorker&) = delete;
    MailWorker& operator=(const MailWorker&) = delete;

    // Main thread; returns at once.
    void SendMail(const std::string& body, const std::filesystem::path& attachment) override;

    // Told on the main thread after every mail's way out (sent, failed, or
    // given up): the settings dialog enables "Send Test Email" again.
    [[nodiscard]] Subscription addFinishedListener(std::function<void()> listener) {
        return m_shared->finished.add(std::move(listener));
    }

    // The program's end: the queue gets up to `limit` to go out, while the
    // main thread's inbox is served; each mail still unsent is journaled
    // with its body's first line. Then the thread ends.
    void drainAtClose(std::chrono::milliseconds limit = std::chrono::seconds(10));
    // Ends the thread, cutting short the try under way and dropping what
    // is queued.
    void stop();

    // Mails asked for and not yet out of the worker (any thread).
    std::size_t pending() const;

private:
    // What the worker's posts reach on the main thread; a post that runs
    // after the worker has gone finds it gone and does nothing.
    struct Shared {
        explicit Shared(EventSink& sink) : events(sink) {}
        EventSink& events;
        Listeners<> finished;
    };

    void serve();
    // False when the end cut the mail short, before it was sent or given up.
    bool deliver(const MailJob& job);
    // Sleeps `delay` unless the worker stops meanwhile; false then.
    bool waitBeforeRetry(std::chrono::milliseconds delay);
    void journal(std::string line);
    void told(std::function<void(Shared&)> work);

    const Services& m_services;
    std::function<MailSettings()> m_settings;
    MailDelivery m_delivery;
    RetryDelays m_retryDelays;
    std::shared_ptr<Shared> m_shared;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<MailJob> m_queue;
    bool m_stopping = false;
    std::atomic<bool> m_cancel{false};
    std::thread m_thread;
};

}  // namespace brevanto
