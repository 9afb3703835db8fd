#include "hub/maindisplay.h"

#include "store/settingsintervals.h"

namespace brevanto {

MainDisplay::MainDisplay(const Services& services, PageTemplates& pages, Acquisition& acquisition)
    : m_services(services),
      m_acquisition(acquisition),
      m_page(pages),
      m_refresh(services.mainThread, [this] { UpdateDisplay(); }),
      m_readings(
          acquisition.addReadingListener([this](const InverterReadings&) { UpdateDisplay(); })) {}

void MainDisplay::configure(const TDati& settings) {
    m_page.writeTitle(settings);
    m_labels = {settings.basicLabels, settings.computedLabels, settings.computedUnits,
                m_labels.computedGroup};
    m_labelsListeners.notify(m_labels);
    m_page.writeNames(settings);
    m_page.writeRefreshLine(refreshChoice(settings.refreshWeb).pageLine);
}

void MainDisplay::UpdateDisplay() {
    const InverterReadings& readings = m_acquisition.readings();
    m_texts = displayTexts(readings);
    m_page.writeDisplay(m_texts, readings.MeasTimeText);
    m_textsListeners.notify(m_texts);
}

void MainDisplay::showComputed(std::span<const int> panels) {
    const InverterReadings& readings = m_acquisition.readings();
    const DisplayTexts now = displayTexts(readings);
    for (const int panel : panels) {
        const auto index = static_cast<std::size_t>(panel);
        m_texts.computed.at(index) = now.computed.at(index);
    }
    m_page.writeDisplay(m_texts, readings.MeasTimeText);
    m_textsListeners.notify(m_texts);
}

void MainDisplay::showTotalsSince(const std::string& totalsSince) {
    m_page.writeComputedHeader(totalsSince);
    m_labels.computedGroup = "Computed values ( [A] and [B] from " + totalsSince + " )";
    m_labelsListeners.notify(m_labels);
}

void MainDisplay::showClock() {
    m_clockText = m_services.format.formatDateTime(m_services.clock.now());
    m_clockListeners.notify(m_clockText);
}

}  // namespace brevanto
