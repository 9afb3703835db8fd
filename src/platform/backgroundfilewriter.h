// Whole files replaced on a thread of their own, so a checkpoint never holds
// the main thread for a disk's flush. Each file is replaced atomically
// (AtomicFile): after a crash it is either the old one or the new one. Files
// are written in the order they were handed over; a file handed over again
// before its earlier bytes were written is written once, with the newest,
// in the place the earlier one held in the queue.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/mainthreadinvoker.h"

namespace brevanto {

class BackgroundFileWriter {
public:
    using Done = std::function<void(bool written)>;

    explicit BackgroundFileWriter(MainThreadInvoker& mainThread);
    // Writes what is still queued, then ends the thread.
    ~BackgroundFileWriter();
    BackgroundFileWriter(const BackgroundFileWriter&) = delete;
    BackgroundFileWriter& operator=(const BackgroundFileWriter&) = delete;

    // Queues `bytes` to replace `path`. `done` is posted to the main thread
    // once the file is written or has failed; a replace superseded by a
    // newer one of the same path is told the newer one's outcome. Any thread.
    void replace(std::filesystem::path path, std::string bytes, Done done = {});
    // Returns once everything queued before the call is on the disk or has
    // failed, and its `done` is posted. Whoever writes one of these files
    // directly drains first, so an older queued copy can never overwrite
    // the newer direct write. Any thread but the writer's own.
    void drain();

private:
    struct Job {
        std::filesystem::path path;
        std::string bytes;
        std::vector<Done> done;
    };
    void serve();
    void finish(Job& job, bool written);

    MainThreadInvoker& m_mainThread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_queue;
    bool m_writing = false;
    bool m_stopping = false;
    // Jobs taken from the queue and finished; drain() waits for its count.
    std::uint64_t m_finished = 0;
    std::thread m_thread;
};

}  // namespace brevanto
