#include "mail/mailworker.h"

#include <fstream>
#include <sstream>

namespace brevanto {
namespace {

std::string firstLine(const std::string& body) {
    return body.substr(0, body.find_first_of("\r\n"));
}

std::string minutes(std::chrono::milliseconds delay) {
    const auto whole = std::chrono::duration_cast<std::chrono::minutes>(delay).count();
    return whole >= 1
               ? std::to_string(whole) + " min"
               : std::to_string(std::chrono::duration_cast<std::chrono::seconds>(delay).count()) +
                     " s";
}

// The file as it is now, if there is one: a missing file sends no attachment.
std::optional<MailAttachment> readAttachment(const std::filesystem::path& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file && !file.eof()) {
        return std::nullopt;
    }
    return MailAttachment{path.filename().string(), bytes.str()};
}

}  // namespace

MailWorker::RetryDelays MailWorker::halfAnHour() {
    using std::chrono::minutes;
    return {minutes(5), minutes(10), minutes(15)};
}

MailWorker::MailWorker(const Services& services, std::function<MailSettings()> settings,
                       MailDelivery delivery, RetryDelays retryDelays)
    : m_services(services),
      m_settings(std::move(settings)),
      m_delivery(std::move(delivery)),
      m_retryDelays(std::move(retryDelays)),
      m_shared(std::make_shared<Shared>(services.events)),
      m_thread([this] { serve(); }) {}

MailWorker::~MailWorker() {
    stop();
}

void MailWorker::SendMail(const std::string& body, const std::filesystem::path& attachment) {
    MailSettings settings = m_settings();
    MailJob job{settings, composeMail(settings.address, body, readAttachment(attachment))};
    {
        std::lock_guard lock(m_mutex);
        if (!m_stopping) {
            m_queue.push_back(std::move(job));
            m_changed.notify_all();
            return;
        }
    }
    m_services.events.WriteEvent("Mail not sent: " + firstLine(body));
}

std::size_t MailWorker::pending() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

void MailWorker::serve() {
    for (;;) {
        MailJob job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_stopping) {
                return;
            }
            job = m_queue.front();
        }
        const bool ended = deliver(job);
        {
            std::lock_guard lock(m_mutex);
            // A mail cut short by the end stays queued: it is journaled as
            // not sent.
            if (!ended) {
                return;
            }
            m_queue.pop_front();
        }
        m_changed.notify_all();
        told([](Shared& shared) { shared.finished.notify(); });
    }
}

bool MailWorker::deliver(const MailJob& job) {
    const auto event = [this](std::string line) { journal(std::move(line)); };
    const std::string what = firstLine(job.message.body);
    for (std::size_t attempt = 0;; ++attempt) {
        if (!m_delivery(job, event, m_cancel)) {
            return true;
        }
        if (m_cancel) {
            return false;
        }
        if (attempt == m_retryDelays.size()) {
            journal("Mail given up after " + std::to_string(attempt + 1) + " tries: " + what);
            return true;
        }
        const std::chrono::milliseconds delay = m_retryDelays[attempt];
        journal("Mail to be tried again in " + minutes(delay) + ": " + what);
        if (!waitBeforeRetry(delay)) {
            return false;
        }
    }
}

bool MailWorker::waitBeforeRetry(std::chrono::milliseconds delay) {
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_for(lock, delay, [this] { return m_stopping; });
}

void MailWorker::journal(std::string line) {
    told([line = std::move(line)](Shared& shared) { shared.events.WriteEvent(line); });
}

void MailWorker::told(std::function<void(Shared&)> work) {
    m_services.mainThread.post([weak = std::weak_ptr<Shared>(m_shared), work = std::move(work)] {
        if (const auto shared = weak.lock()) {
            work(*shared);
        }
    });
}

void MailWorker::drainAtClose(std::chrono::milliseconds limit) {
    m_services.mainThread.runUntil([this] { return pending() == 0; }, limit);
    stop();
    // What the worker said before it stopped comes first.
    m_services.mainThread.runPending();
    for (const MailJob& job : m_queue) {
        m_services.events.WriteEvent("Mail not sent: " + firstLine(job.message.body));
    }
}

void MailWorker::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_cancel = true;
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

}  // namespace brevanto
