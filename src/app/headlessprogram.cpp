#include "app/headlessprogram.h"

#include <QCoreApplication>

#include "app/shutdownsignals.h"
#include "ui/hubtimers.h"

namespace brevanto {

HeadlessProgram::HeadlessProgram(QCoreApplication& application, ShutdownSignals& shutdownSignals,
                                 const Clock& clock, const ProgramFolders& folders)
    : m_application(application) {
    m_hub = std::make_unique<Hub>(HubEnvironment{clock, DateTimeFormat::fromEnvironment(),
                                                 m_prompts, m_mainThread, folders.workingDirectory,
                                                 folders.settingsFile, true});
    m_prompts.setJournal(&m_hub->eventLog());
    m_timers = bindHubTimers(*m_hub);
    m_hub->FormCreate();
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &application,
                     [this] { close(); });
    if (shutdownSignals.arrived()) {
        QMetaObject::invokeMethod(
            &application, [this] { close(); }, Qt::QueuedConnection);
    }
}

// However the event loop ended, the program ends as a close answered Yes.
HeadlessProgram::~HeadlessProgram() {
    m_hub->ShutDown();
    m_hub->web().stop();
    m_timers.clear();
    m_prompts.setJournal(nullptr);
}

void HeadlessProgram::start() {
    m_hub->FormShow();
}

void HeadlessProgram::close() {
    m_hub->ShutDown();
    m_application.quit();
}

}  // namespace brevanto
