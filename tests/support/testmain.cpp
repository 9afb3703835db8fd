#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
// Paho's libraries are built without ThreadSanitizer, which then cannot see
// the reference counts and waits inside their tokens: a token their thread
// completes or frees after the publisher let go of it looks like a race.
// Only those token functions are let off, not every stack with a Paho frame
// in it, so the publisher's own callbacks are still checked.
extern "C" const char* __tsan_default_suppressions() {
    return "race:mqtt::async_client::remove_token\n"
           "race:mqtt::token::on_success\n"
           "race:mqtt::token::wait_for\n"
           "race:mqtt::token::check_ret\n";
}
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
