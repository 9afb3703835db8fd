// The settings dialog's port list. Each item's tool tip tells the device the
// port name stands for on this machine and whether it is there; adapters
// come and go, so the tips are asked for afresh each time the list opens.
#pragma once

#include <functional>

#include <QComboBox>

namespace brevanto {

class PortComboBox : public QComboBox {
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    // The tip of the item at an index.
    void setToolTipSource(std::function<QString(int index)> source);
    void refreshToolTips();
    void showPopup() override;

private:
    std::function<QString(int)> m_toolTip;
};

}  // namespace brevanto
