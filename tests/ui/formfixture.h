// The main window as the program builds it, over a hub in a fresh working
// directory with its own settings file and recorded prompts. Hand-overs are
// drained by the Qt event loop, which the tests spin until what they wait
// for holds.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <QAbstractItemModel>
#include <QLabel>
#include <gtest/gtest.h>

#include "platform/queuedinvoker.h"
#include "platform/testing/manualclock.h"
#include "platform/testing/recordingprompts.h"
#include "support/tempdir.h"
#include "ui/eventloopdrain.h"
#include "ui/tform1.h"

namespace brevanto::testing {

// The program's style sheet, as the program applies it at start.
QString amethystSheet();

class FormFixture : public ::testing::Test {
protected:
    // Builds the hub and the window and runs the creation step, as the program does.
    void create(const std::string& ini = {}, bool trayAtStart = true);
    // Spins the event loop until `done` or a generous time-out.
    static bool spinUntil(const std::function<bool()>& done);

    template <typename Widget>
    Widget* control(const char* name) {
        auto* widget = form->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString panel(const char* name) { return control<QLabel>(name)->text(); }
    QStringList paneLines();
    bool hasEvent(const std::string& suffix);

    // The mails as they would have gone out (any thread adds).
    std::vector<MailJob> mails() const;

    // The hub serves its pages, on any free port for port 0.
    bool serveWeb = false;
    // Whether the desktop has a tray now; a test may take it away or bring it.
    bool trayAvailable = true;
    TempDir dir;
    ManualClock clock;
    RecordingPrompts prompts;
    QueuedInvoker invoker;
    // Goes before the invoker, so no queued drain outlives it into the next test.
    EventLoopDrain drain{invoker};
    std::unique_ptr<Hub> hub;
    std::unique_ptr<TForm1> form;

private:
    mutable std::mutex m_mailsMutex;
    std::vector<MailJob> m_mails;
};

}  // namespace brevanto::testing
