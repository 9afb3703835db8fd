#include "app/brevantoprogram.h"

#include <filesystem>

#include "app/brevantoapplication.h"
#include "app/shutdownsignals.h"
#include "ui/eventloopdrain.h"

namespace brevanto {

BrevantoProgram::BrevantoProgram(BrevantoApplication& application, ShutdownSignals& shutdownSignals,
                                 const Clock& clock, const ProgramFolders& folders) {
    m_hub = std::make_unique<Hub>(HubEnvironment{clock, DateTimeFormat::fromEnvironment(),
                                                 m_prompts, m_mainThread, folders.workingDirectory,
                                                 folders.settingsFile, true});
    m_form1 = std::make_unique<TForm1>(*m_hub, m_mainThread, m_prompts,
                                       [] { return QSystemTrayIcon::isSystemTrayAvailable(); });
    m_prompts.setParentWindow(m_form1.get());
    m_form1->FormCreate();
    m_setting = std::make_unique<TSetting>(*m_hub, m_prompts);
    m_form1->setSettingsDialog(m_setting.get());
    DailyData& daily = m_hub->dailyData();
    m_variablesList = std::make_unique<TVariablesList>(daily.basic().table());
    m_aboutBox = std::make_unique<TAboutBox>();
    m_computedList = std::make_unique<TComputedList>(daily.computed().table());
    m_listEnergy = std::make_unique<TListEnergy>(daily.energy().table());
    m_graphics = std::make_unique<TGraphics>(*m_hub, m_prompts);
    m_form1->setAboutBox(m_aboutBox.get());
    m_form1->setLogViewers(m_variablesList.get(), m_computedList.get(), m_listEnergy.get());
    m_form1->setGraphics(m_graphics.get());

    TForm1* form1 = m_form1.get();
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, form1,
                     &TForm1::closeWithoutQuestion);
    // Logout and shutdown: the day's files are written before the session ends.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, form1,
                     [form1] { form1->closeWithoutQuestion(); });
    QObject::connect(form1, &TForm1::programClosed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Kept from a start-up message box: acted on once the event loop runs.
    if (shutdownSignals.arrived()) {
        QMetaObject::invokeMethod(form1, &TForm1::closeWithoutQuestion, Qt::QueuedConnection);
    }
}

// However the event loop ended, the program ends as a close answered Yes.
// No web request may reach the windows while they go; the hub goes last.
BrevantoProgram::~BrevantoProgram() {
    m_form1->closeWithoutQuestion();
    m_hub->web().stop();
    m_form1->setAboutBox(nullptr);
    m_form1->setSettingsDialog(nullptr);
    m_form1->setLogViewers(nullptr, nullptr, nullptr);
    m_form1->setGraphics(nullptr);
}

void BrevantoProgram::show() {
    m_form1->show();
}

}  // namespace brevanto
