// The program's icon, compiled into the program: the window, the tray and
// the About box show it.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace brevanto {

QIcon programIcon();
QPixmap programPixmap();

}  // namespace brevanto
