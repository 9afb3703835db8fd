#include "web/pagetemplates.h"

#include <stdexcept>

#include "web/mainpagetemplate.h"
#include "web/templateentry.h"
#include "web/timerpagetemplate.h"

namespace brevanto {
namespace {

void buildPage(PageTemplate& page, std::span<const TemplateEntry> listing, TemplateLines& lines) {
    for (const auto& entry : listing) {
        rememberLine(lines, entry, page.append(entry.text));
    }
}

}  // namespace

PageTemplates::PageTemplates() : m_mainPage(kMainPageCapacity), m_timerPage(kTimerPageCapacity) {}

void PageTemplates::BuildPageTemplates() {
    if (m_built) {
        throw std::logic_error("page templates are already built");
    }
    m_built = true;
    buildPage(m_mainPage, mainPageListing(), m_templateLine);
    buildPage(m_timerPage, timerPageListing(), m_templateLine);
}

}  // namespace brevanto
