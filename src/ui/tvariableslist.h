// The day's basic variables as they were logged: the time and the 15
// readings of each sample, a row a sample. "View" > "Basic Variables" shows it.
#pragma once

#include <memory>

#include "ui/logviewerwindow.h"

namespace Ui {
class TVariablesList;
}

namespace brevanto {

class TVariablesList : public LogViewerWindow {
    Q_OBJECT

public:
    // `table` must outlive the window.
    explicit TVariablesList(LogTable& table, QWidget* parent = nullptr);
    ~TVariablesList() override;

private:
    std::unique_ptr<Ui::TVariablesList> m_ui;
};

}  // namespace brevanto
