// The program on a board without a screen (`brevanto --headless`): the hub
// with its timers on Qt's core event loop, no window and no tray. Message
// boxes become journal lines and lines on standard error; the web page and
// MQTT are its interface. A signal ends it as "Close" answered Yes does,
// with every file written.
#pragma once

#include <memory>
#include <vector>

#include "hub/hub.h"
#include "platform/clock.h"
#include "platform/journalprompts.h"
#include "platform/queuedinvoker.h"
#include "store/programfolders.h"
#include "ui/eventloopdrain.h"
#include "ui/timerbinding.h"

class QCoreApplication;

namespace brevanto {

class ShutdownSignals;

class HeadlessProgram {
public:
    HeadlessProgram(QCoreApplication& application, ShutdownSignals& shutdownSignals,
                    const Clock& clock, const ProgramFolders& folders);
    ~HeadlessProgram();
    HeadlessProgram(const HeadlessProgram&) = delete;
    HeadlessProgram& operator=(const HeadlessProgram&) = delete;

    // What the window's first show does: connects when AutoConnect is on.
    void start();
    Hub& hub() { return *m_hub; }

private:
    void close();

    QCoreApplication& m_application;
    QueuedInvoker m_mainThread;
    EventLoopDrain m_drain{m_mainThread};
    JournalPrompts m_prompts;
    std::unique_ptr<Hub> m_hub;
    std::vector<std::unique_ptr<TimerBinding>> m_timers;
};

}  // namespace brevanto
