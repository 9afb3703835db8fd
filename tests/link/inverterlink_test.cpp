// The port's lock and the message boxes: a box waits for the main thread, so
// none may be shown while the lock is held.
#include "link/inverterlink.h"

#include <future>

#include <gtest/gtest.h>

#include "platform/testing/recordingeventsink.h"
#include "support/tempdir.h"
#include "support/waituntil.h"

namespace brevanto {
namespace {

// A box that, while it is up, lets the "main thread" use the link, as the
// close handler does with a box still open on another thread.
class MainThreadUsesTheLinkMeanwhile final : public Prompts {
public:
    InverterLink* link = nullptr;
    std::vector<std::string> shown;
    std::vector<bool> linkFreeMeanwhile;
    // Kept past the box: a close still waiting for the lock ends once it is let go.
    std::vector<std::future<void>> closes;

    void showMessage(std::string_view text) override {
        shown.emplace_back(text);
        auto& closed =
            closes.emplace_back(std::async(std::launch::async, [this] { link->close(); }));
        linkFreeMeanwhile.push_back(closed.wait_for(testing::kWaitGuard) ==
                                    std::future_status::ready);
    }
    void showWarning(std::string_view text) override { showMessage(text); }
    PromptAnswer ask(std::string_view) override { return PromptAnswer::Yes; }
    void showCaptionedWarning(std::string_view, std::string_view text) override {
        showMessage(text);
    }
    PromptAnswer confirm(std::string_view) override { return PromptAnswer::Yes; }
};

TEST(InverterLink, ShowsAConfigurationFailureOnlyAfterLettingGoOfThePort) {
    testing::TempDir dir;
    testing::writeFile(dir / "plain-file", "");
    MainThreadUsesTheLinkMeanwhile prompts;
    testing::RecordingEventSink events;
    InverterLink link(
        prompts, events, [] { return true; }, [] { return false; });
    prompts.link = &link;

    EXPECT_EQ(link.open((dir / "plain-file").string()), 0);
    EXPECT_EQ(prompts.shown, std::vector<std::string>{"Errore BuildCommDCB"});
    EXPECT_EQ(prompts.linkFreeMeanwhile, std::vector<bool>{true});
    prompts.closes.clear();
    EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace brevanto
