// The program's start-up in its order, from the application object to the
// shown main window: the main thread's inbox, the message boxes, the hub
// with its components, the main window over it with the creation step, the
// About box, and the ways the program ends. main() runs it; the start-up benchmark runs the very
// same steps.
#pragma once

#include <memory>

#include "platform/clock.h"
#include "platform/queuedinvoker.h"
#include "store/programfolders.h"
#include "ui/eventloopdrain.h"
#include "ui/qtprompts.h"
#include "ui/taboutbox.h"
#include "ui/tcomputedlist.h"
#include "ui/tform1.h"
#include "ui/tgraphics.h"
#include "ui/tlistenergy.h"
#include "ui/tsetting.h"
#include "ui/tvariableslist.h"

namespace brevanto {

class BrevantoApplication;
class ShutdownSignals;

class BrevantoProgram {
public:
    // Builds every window and runs the main window's creation step, with
    // the settings file and the logs where `folders` says.
    BrevantoProgram(BrevantoApplication& application, ShutdownSignals& shutdownSignals,
                    const Clock& clock, const ProgramFolders& folders);
    ~BrevantoProgram();
    BrevantoProgram(const BrevantoProgram&) = delete;
    BrevantoProgram& operator=(const BrevantoProgram&) = delete;

    // The first show, which auto-connects.
    void show();
    Hub& hub() { return *m_hub; }
    TForm1& mainWindow() { return *m_form1; }

private:
    QueuedInvoker m_mainThread;
    EventLoopDrain m_drain{m_mainThread};
    QtPrompts m_prompts{m_mainThread};
    // The windows show the hub and go before it.
    std::unique_ptr<Hub> m_hub;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TSetting> m_setting;
    std::unique_ptr<TVariablesList> m_variablesList;
    std::unique_ptr<TAboutBox> m_aboutBox;
    std::unique_ptr<TComputedList> m_computedList;
    std::unique_ptr<TListEnergy> m_listEnergy;
    std::unique_ptr<TGraphics> m_graphics;
};

}  // namespace brevanto
