#include "ui/portcombobox.h"

namespace brevanto {

void PortComboBox::setToolTipSource(std::function<QString(int index)> source) {
    m_toolTip = std::move(source);
    refreshToolTips();
}

void PortComboBox::refreshToolTips() {
    if (!m_toolTip) {
        return;
    }
    for (int index = 0; index < count(); ++index) {
        setItemData(index, m_toolTip(index), Qt::ToolTipRole);
    }
    setToolTip(currentIndex() >= 0 ? m_toolTip(currentIndex()) : QString());
}

void PortComboBox::showPopup() {
    refreshToolTips();
    QComboBox::showPopup();
}

}  // namespace brevanto
