// The program's visual style, "Amethyst", applied to the whole application
// at start.
#pragma once

class QApplication;
class QWidget;

namespace brevanto {

// False when the style sheet could not be read from the program's resources.
bool applyAmethystStyle(QApplication& application);

// The style sheet meets a page's controls as they are made, before the form
// gives them their role: a window made with such pages has them looked at
// again. Sizes the sheet gives survive this; sizes set in the form do not.
void repolishRoles(QWidget& window);

}  // namespace brevanto
