#include "ui/programicon.h"

namespace brevanto {

QPixmap programPixmap() {
    return QPixmap(QStringLiteral(":/brevanto/brevanto.png"));
}

QIcon programIcon() {
    return QIcon(programPixmap());
}

}  // namespace brevanto
