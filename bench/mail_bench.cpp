// Ten mails through a real SMTP server on loopback while the main thread
// goes on serving its inbox: the longest the main thread is held at a time
// (asking for a mail, taking its event lines), and how long the ten take.
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "mail/maildelivery.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingeventsink.h"
#include "platform/testing/recordingprompts.h"
#include "support/smtpserverprocess.h"
#include "support/tempdir.h"

int main() {
    using namespace brevanto;
    using Stopwatch = std::chrono::steady_clock;
    constexpr int kMails = 10;

    testing::SmtpServerProcess server;
    testing::TempDir folder;
    testing::writeFile(folder / "BasicLog_7-3-2015.csv",
                       std::string(200 * 1024, 'x'));  // a long day's file as the attachment
    testing::ManualClock clock;
    testing::RecordingPrompts prompts;
    testing::RecordingEventSink events;
    QueuedInvoker mainThread;
    const DateTimeFormat format{"%d/%m/%Y", "%H:%M:%S"};
    const Services services{clock, format, prompts, mainThread, events, folder.path()};
    MailSettings settings;
    settings.address = "owner@example.test";
    settings.smtpHost = server.host();
    settings.smtpPort = std::to_string(server.port());
    MailWorker worker(
        services, [&] { return settings; }, mailDelivery());
    int finished = 0;
    const Subscription counting = worker.addFinishedListener([&] { ++finished; });

    double longestUs = 0;
    const auto hold = [&](auto&& work) {
        const auto start = Stopwatch::now();
        work();
        longestUs = std::max(
            longestUs, std::chrono::duration<double, std::micro>(Stopwatch::now() - start).count());
    };
    const auto start = Stopwatch::now();
    for (int i = 0; i < kMails; ++i) {
        hold([&] {
            worker.SendMail("Basic variables of day 7/3/2015 in attach.",
                            folder / "BasicLog_7-3-2015.csv");
        });
    }
    while (finished < kMails && Stopwatch::now() - start < std::chrono::seconds(60)) {
        hold([&] { mainThread.runPending(); });
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const double totalMs =
        std::chrono::duration<double, std::milli>(Stopwatch::now() - start).count();
    if (finished < kMails) {
        std::fprintf(stderr, "bench_mail: only %d of %d mails went out\n", finished, kMails);
        return 1;
    }
    std::printf("ten mails with a 200 KiB attachment through SMTP on loopback: %.0f ms\n", totalMs);
    std::printf("longest the main thread was held meanwhile (target: under 5 ms): %.0f us\n",
                longestUs);
    return 0;
}
