#include "hub/mainpagewriter.h"

namespace brevanto {

namespace {

std::string nameWithUnit(const std::string& name, const std::string& unit) {
    return name + " (" + unit + ")";
}

}  // namespace

void MainPageWriter::writeDisplay(const DisplayTexts& texts, const std::string& measTimeText) {
    std::vector<PageTemplate::LineChange> changes;
    changes.reserve(1 + texts.basic.size() + texts.computed.size() + 3);
    changes.push_back({lines().timeStamp, measTimeText});
    for (std::size_t i = 0; i < texts.basic.size(); ++i) {
        changes.push_back({lines().bVar[i], texts.basic[i]});
    }
    for (std::size_t i = 0; i < texts.computed.size(); ++i) {
        changes.push_back({lines().var[i], texts.computed[i]});
    }
    changes.push_back({lines().modeStatus, texts.mode});
    changes.push_back({lines().batteryStatus, texts.battery});
    changes.push_back({lines().loadStatus, texts.load});
    // One hold of the page's lock: a page shows one reading whole.
    mainPage().setLines(std::move(changes));
}

void MainPageWriter::writeTitle(const TDati& settings) {
    mainPage().setLine(lines().heading, settings.title);
    mainPage().setLine(lines().title, "Brevanto");
}

void MainPageWriter::writeNames(const TDati& settings) {
    for (std::size_t i = 0; i < settings.computedLabels.size(); ++i) {
        mainPage().setLine(lines().name[i],
                           nameWithUnit(settings.computedLabels[i], settings.computedUnits[i]));
    }
    for (std::size_t i = 0; i < settings.basicLabels.size(); ++i) {
        mainPage().setLine(lines().nameVar[i],
                           nameWithUnit(settings.basicLabels[i], kBasicVariables[i].unit));
    }
}

void MainPageWriter::writeRefreshLine(const std::string& line) {
    mainPage().setLine(lines().refresh, line);
}

void MainPageWriter::writeLineFault(bool lineDown) {
    mainPage().setLine(lines().flowColour, lineDown ? "#FF0000" : "#0000FF");
    mainPage().setLine(lines().flowHeading,
                       lineDown ? "Energy flow -- **WARNING** Line down --" : "Energy flow");
}

void MainPageWriter::writeComputedHeader(const std::string& totalsSince) {
    mainPage().setLine(lines().computedHeader,
                       "Computed values ( [A] and [B] from " + totalsSince + " )");
}

void MainPageWriter::writeFooters(const std::string& footer) {
    mainPage().setLine(lines().mainFooter, footer + R"( - <a href="/Chart">Day chart</a>)");
    m_pages.TimerPage().setLine(lines().timerFooter, footer);
}

}  // namespace brevanto
