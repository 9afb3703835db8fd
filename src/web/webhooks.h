// Everything the web layer needs of the program around it, filled once by the
// hub before the server first starts and left unchanged while it runs.
//
// Two kinds of thread use these hooks, and each hook says which:
// - connection threads, one per client, beside the main and reading threads.
//   What they call must be safe there and must return at once: no hook may
//   wait for the main thread, or a server being stopped from the main thread
//   would wait for its own connection threads forever;
// - the main thread, for everything that touches settings or windows. The
//   web commands post that work in one piece (never waiting for it), so a
//   request's change of the settings never interleaves with another change
//   of them, and the answer never waits for the main thread or the inverter.
//
// An empty std::function is a part of the program that is not there (yet):
// its step is skipped, and a condition that is not there does not hold. Every
// hook has an initializer, so a designated initializer names only the ones
// that are there.
#pragma once

#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/datetimeformat.h"
#include "platform/eventsink.h"
#include "platform/localdatetime.h"
#include "platform/mainthreadinvoker.h"
#include "store/eventlist.h"
#include "store/tdati.h"
#include "web/metricspage.h"
#include "web/pagetemplates.h"

namespace brevanto {

// The settings dialog's timer controls, as the timer form sets them. Timers
// are numbered 0 to 3 for A to D. Called on the main thread.
struct TimerDialogSeam {
    // Ticks or unticks CheckBox3, CheckBox20, CheckBox21 or CheckBox22; the
    // box's click handler runs as if the user had clicked it.
    std::function<void(int timer, bool checked)> enableBox{};
    // Sets the timer's two pickers (DateTimePicker1/2 for A ... 7/8 for D).
    std::function<void(int timer, const LocalDateTime& on, const LocalDateTime& off)> pickers{};
};

struct WebHooks {
    // Used on connection threads through their own locks.
    PageTemplates& pages;
    // Visit lines are found and rewritten in it under its lock, and the
    // listing command copies it. Its change listener then runs on the
    // connection thread, so the hub's listener must post the window's
    // refresh to the main thread, without waiting for it.
    EventList& eventList;
    // WriteEvent of the event journal, called on connection threads for a
    // client's first visit line.
    EventSink& events;
    // Local time for the visit lines and today's date for the timer times.
    const Clock& clock;
    const DateTimeFormat& format;
    // Where settings and dialog changes are posted.
    MainThreadInvoker& mainThread;

    // Called on connection threads; each must be safe there and quick (a
    // copy kept under a lock, an atomic flag).
    // [Main] Password as stored, for the access rule. Left empty, no timer
    // form is authorised.
    std::function<std::string()> webPassword{};
    // A main-page request: wakes the reading thread for one cycle when it
    // reads only on a web request ("Read variables only when requested by
    // web"); returns at once, without waiting for the reading.
    std::function<void()> wakeReader{};
    // The whole "/Chart" page: today's curves, drawn from a copy kept under
    // its own lock. Left empty, the path is no page of its own.
    std::function<std::string()> chartPage{};
    // The values "/metrics" shows, copied from the program's last look at
    // them; the web side adds its own request count. Left empty, the path is
    // no page of its own.
    std::function<MetricsValues()> metrics{};
    // Asks for UpdateDisplay on the main thread (the hub posts it there).
    // Called after the timer form's settings work has been posted, so it
    // runs after that work.
    std::function<void()> requestDisplayRefresh{};

    // Called on the main thread only, inside the posted work.
    // The live settings record, AppSettings.
    std::function<TDati&()> appSettings{};
    // SaveSettings; it writes its own failure line.
    std::function<void()> saveSettings{};
    TimerDialogSeam timerDialog{};
};

}  // namespace brevanto
