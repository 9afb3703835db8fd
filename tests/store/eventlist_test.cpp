#include "store/eventlist.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(EventList, WritersOnManyThreadsLoseNoLineAndReadersSeeWholeLines) {
    EventList list;
    std::atomic<int> changes{0};
    list.setChangeListener([&changes] { ++changes; });
    constexpr int kThreads = 4;
    constexpr int kLines = 500;
    const std::string line(64, 'x');
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([&] {
            for (int i = 0; i < kLines; ++i) {
                list.append(line);
            }
        });
    }
    // A web visit rewrites its own line in place while the others write.
    writers.emplace_back([&] {
        list.append("[ipstart]127.0.0.1[ipend] 0");
        for (int i = 1; i <= kLines; ++i) {
            list.edit([i](EventList::Lines& lines) {
                for (auto& l : lines) {
                    if (l.rfind("[ipstart]127.0.0.1", 0) == 0) {
                        l = "[ipstart]127.0.0.1[ipend] " + std::to_string(i);
                    }
                }
            });
        }
    });
    for (int i = 0; i < 200; ++i) {
        for (const auto& seen : list.snapshot()) {
            ASSERT_TRUE(seen == line || seen.rfind("[ipstart]", 0) == 0);
        }
    }
    for (auto& writer : writers) {
        writer.join();
    }
    const auto lines = list.snapshot();
    EXPECT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines + 1));
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "[ipstart]127.0.0.1[ipend] " + std::to_string(kLines)),
              1);
    EXPECT_EQ(changes.load(), kThreads * kLines + 1 + kLines);
}

}  // namespace
}  // namespace brevanto
