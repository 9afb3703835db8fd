// The month's energy log as it was read at start-up: a row for each day's
// end and each run's end, with the day's energies and the two totals.
// "View" > "Energy" shows it.
#pragma once

#include <memory>

#include "ui/logviewerwindow.h"

namespace Ui {
class TListEnergy;
}

namespace brevanto {

class TListEnergy : public LogViewerWindow {
    Q_OBJECT

public:
    // `table` must outlive the window.
    explicit TListEnergy(LogTable& table, QWidget* parent = nullptr);
    ~TListEnergy() override;

private:
    std::unique_ptr<Ui::TListEnergy> m_ui;
};

}  // namespace brevanto
