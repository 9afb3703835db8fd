// The two pages the web server serves, the live main page and the Timer form,
// and the remembered indexes of the lines the program rewrites. They are built
// once, before the web server starts, and live as long as the program.
#pragma once

#include <cstddef>

#include "web/pagetemplate.h"
#include "web/templatelines.h"

namespace brevanto {

class PageTemplates {
public:
    static constexpr std::size_t kMainPageCapacity = 400;
    static constexpr std::size_t kTimerPageCapacity = 150;

    PageTemplates();

    // Fills both pages with their initial lines and remembers TemplateLine.
    // Runs once; a second call throws std::logic_error instead of appending
    // a second copy of each page.
    void BuildPageTemplates();

    PageTemplate& MainPage() { return m_mainPage; }
    const PageTemplate& MainPage() const { return m_mainPage; }
    PageTemplate& TimerPage() { return m_timerPage; }
    const PageTemplate& TimerPage() const { return m_timerPage; }
    // Fixed once built, so writers read it without the pages' locks.
    const TemplateLines& TemplateLine() const { return m_templateLine; }

private:
    PageTemplate m_mainPage;
    PageTemplate m_timerPage;
    TemplateLines m_templateLine;
    bool m_built = false;
};

}  // namespace brevanto
