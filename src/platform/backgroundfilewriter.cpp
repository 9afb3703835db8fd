#include "platform/backgroundfilewriter.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "platform/atomicfile.h"
#include "platform/faultreport.h"

namespace brevanto {
namespace {

bool writeWhole(const std::filesystem::path& path, std::string_view bytes) {
    try {
        return replaceFileAtomically(path, [bytes](ByteSink& sink) { return sink.write(bytes); });
    } catch (const std::exception&) {
        // Out of memory for a path, say: the file is simply not written.
        return false;
    }
}

}  // namespace

BackgroundFileWriter::BackgroundFileWriter(MainThreadInvoker& mainThread)
    : m_mainThread(mainThread), m_thread([this] { serve(); }) {}

BackgroundFileWriter::~BackgroundFileWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_changed.notify_all();
    }
    m_thread.join();
}

void BackgroundFileWriter::replace(std::filesystem::path path, std::string bytes, Done done) {
    std::lock_guard lock(m_mutex);
    const auto waiting = std::find_if(m_queue.begin(), m_queue.end(),
                                      [&path](const Job& job) { return job.path == path; });
    if (waiting != m_queue.end()) {
        waiting->bytes = std::move(bytes);
        if (done) {
            waiting->done.push_back(std::move(done));
        }
        return;
    }
    Job job{std::move(path), std::move(bytes), {}};
    if (done) {
        job.done.push_back(std::move(done));
    }
    m_queue.push_back(std::move(job));
    m_changed.notify_all();
}

void BackgroundFileWriter::drain() {
    std::unique_lock lock(m_mutex);
    // Jobs queued later go behind these, and one merged into them only
    // brings its bytes forward, so counting them is enough.
    const std::uint64_t target = m_finished + m_queue.size() + (m_writing ? 1 : 0);
    m_changed.wait(lock, [this, target] { return m_finished >= target; });
}

void BackgroundFileWriter::serve() {
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty()) {
                return;
            }
            job = std::move(m_queue.front());
            m_queue.pop_front();
            m_writing = true;
        }
        finish(job, writeWhole(job.path, job.bytes));
    }
}

void BackgroundFileWriter::finish(Job& job, bool written) {
    if (!job.done.empty()) {
        runReportingFaults("posting a file's outcome", [this, &job, written] {
            m_mainThread.post([done = std::move(job.done), written] {
                // Each is told, whatever an earlier one did.
                for (const Done& tell : done) {
                    runReportingFaults("a file's outcome", [&tell, written] { tell(written); });
                }
            });
        });
    }
    std::lock_guard lock(m_mutex);
    m_writing = false;
    ++m_finished;
    m_changed.notify_all();
}

}  // namespace brevanto
