// A fault at the program's entry ends it with a word and a failure status.
#include "app/startupfailure.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(StartupFailure, AFaultIsToldAndEndsTheProgramWithAFailureStatus) {
    std::vector<std::string> told;
    const auto tell = [&](const std::string& what) { told.push_back(what); };
    EXPECT_EQ(runReportingStartupFailure(
                  []() -> int { throw std::runtime_error("cannot read /etc/brevanto"); }, tell),
              kStartupFailed);
    EXPECT_EQ(runReportingStartupFailure([]() -> int { throw 42; }, tell), kStartupFailed);
    EXPECT_EQ(told, (std::vector<std::string>{"cannot read /etc/brevanto", "an unknown error"}));

    told.clear();
    EXPECT_EQ(runReportingStartupFailure([] { return 0; }, tell), 0);
    EXPECT_EQ(runReportingStartupFailure([] { return 3; }, tell), 3);
    EXPECT_TRUE(told.empty());
}

}  // namespace
}  // namespace brevanto
