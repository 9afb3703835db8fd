// The About box: the program's name, version and the inverter it serves.
// Created hidden at start-up; the main window's "About" shows and hides it.
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class TAboutBox;
}

namespace brevanto {

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

private:
    std::unique_ptr<Ui::TAboutBox> m_ui;
};

}  // namespace brevanto
