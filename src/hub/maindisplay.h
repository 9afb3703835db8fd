// What the main window shows beside the link: the clock, the panels with the
// live values and their labels. All of it is computed here, without a
// window, and written into the main page's lines; the window subscribes and
// shows the very same texts. The panels follow every finished reading and
// every tick. Everything here runs on the main thread unless it says otherwise.
#pragma once

#include <array>
#include <span>
#include <string>

#include "acquisition/acquisition.h"
#include "acquisition/displaytexts.h"
#include "hub/mainpagewriter.h"
#include "platform/coalescedpost.h"
#include "platform/listeners.h"
#include "platform/services.h"
#include "store/tdati.h"

namespace brevanto {

// The labels of the two value groups, as the settings name them.
struct DisplayLabels {
    std::array<std::string, kBasicVariableCount> basic;
    std::array<std::string, kComputedValueCount> computed;
    std::array<std::string, kComputedValueCount> units;
    // GroupBox2: "Computed values ( [A] and [B] from <date> )"; empty until
    // the totals are read.
    std::string computedGroup;
};

class MainDisplay {
public:
    MainDisplay(const Services& services, PageTemplates& pages, Acquisition& acquisition);
    MainDisplay(const MainDisplay&) = delete;
    MainDisplay& operator=(const MainDisplay&) = delete;

    // Applying the settings: the page's title and heading, the labels of
    // both groups in the window and on the page, and the page's refresh line.
    void configure(const TDati& settings);

    // The panels and the page's value lines from the readings as they are now.
    void UpdateDisplay();
    // UpdateDisplay on the main thread, once for a burst of asks. Any thread.
    void requestRefresh() { m_refresh.request(); }
    // Panel3: the date and time of the tick.
    void showClock();
    // The computed panels at `panels` (0 to 5) show their values as they
    // are now; the others keep what they show.
    void showComputed(std::span<const int> panels);
    // Since when the totals count, on the page and in GroupBox2's caption.
    void showTotalsSince(const std::string& totalsSince);

    const DisplayTexts& texts() const { return m_texts; }
    const DisplayLabels& labels() const { return m_labels; }
    const std::string& clockText() const { return m_clockText; }
    MainPageWriter& page() { return m_page; }

    // Told after every change of what they show, in the order added.
    Listeners<DisplayTexts>& textsListeners() { return m_textsListeners; }
    Listeners<DisplayLabels>& labelsListeners() { return m_labelsListeners; }
    Listeners<std::string>& clockListeners() { return m_clockListeners; }

private:
    const Services& m_services;
    const Acquisition& m_acquisition;
    MainPageWriter m_page;
    DisplayTexts m_texts;
    DisplayLabels m_labels;
    std::string m_clockText;
    Listeners<DisplayTexts> m_textsListeners;
    Listeners<DisplayLabels> m_labelsListeners;
    Listeners<std::string> m_clockListeners;
    CoalescedPost m_refresh;
    Subscription m_readings;
};

}  // namespace brevanto
