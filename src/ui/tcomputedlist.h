// The day's computed values as they were logged: the time and the six
// values of each sample. "View" > "Computed Variables" shows it.
#pragma once

#include <memory>

#include "ui/logviewerwindow.h"

namespace Ui {
class TComputedList;
}

namespace brevanto {

class TComputedList : public LogViewerWindow {
    Q_OBJECT

public:
    // `table` must outlive the window.
    explicit TComputedList(LogTable& table, QWidget* parent = nullptr);
    ~TComputedList() override;

private:
    std::unique_ptr<Ui::TComputedList> m_ui;
};

}  // namespace brevanto
