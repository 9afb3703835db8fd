// A fault in a handler of the main thread ends that handler only, and says
// so on standard error.
#include "app/brevantoapplication.h"

#include <stdexcept>

#include <QTimer>
#include <gtest/gtest.h>

#include "support/waituntil.h"

namespace brevanto {
namespace {

TEST(BrevantoApplication, AnEscapingExceptionIsReportedAndTheLoopGoesOn) {
    bool laterHandlerRan = false;
    ::testing::internal::CaptureStderr();
    QTimer::singleShot(0, [] { throw std::runtime_error("the totals file vanished"); });
    QTimer::singleShot(0, [&] { laterHandlerRan = true; });
    // Both handlers have had their turn once the later one has run.
    testing::waitUntil([&] { return laterHandlerRan; },
                       [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); });
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the totals file vanished"), std::string::npos) << said;
    EXPECT_TRUE(laterHandlerRan);
}

}  // namespace
}  // namespace brevanto
