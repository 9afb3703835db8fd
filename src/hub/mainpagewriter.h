// The writers of the main page's value lines and of the two footers. Each
// replaces whole lines at the indexes remembered when the pages were built;
// the pages' own lock makes every line change whole for a web thread, and
// the display's lines change together.
#pragma once

#include <string>

#include "acquisition/displaytexts.h"
#include "store/tdati.h"
#include "web/pagetemplates.h"

namespace brevanto {

class MainPageWriter {
public:
    explicit MainPageWriter(PageTemplates& pages) : m_pages(pages) {}

    // The display refresh: the time stamp, the operating state and the texts
    // of every panel, exactly as the panels show them.
    void writeDisplay(const DisplayTexts& texts, const std::string& measTimeText);
    // The <title> line and the heading.
    void writeTitle(const TDati& settings);
    // "Name (unit)" for the six computed and the fifteen basic values.
    void writeNames(const TDati& settings);
    void writeRefreshLine(const std::string& line);
    // The energy-flow heading in red with its warning while the line is
    // down, back to blue and plain when it is restored.
    void writeLineFault(bool lineDown);
    // "Computed values ( [A] and [B] from <date> )": since when the totals count.
    void writeComputedHeader(const std::string& totalsSince);
    // Both pages' footer line; the main page's also links the day chart.
    void writeFooters(const std::string& footer);

private:
    PageTemplate& mainPage() { return m_pages.MainPage(); }
    const TemplateLines& lines() const { return m_pages.TemplateLine(); }

    PageTemplates& m_pages;
};

}  // namespace brevanto
