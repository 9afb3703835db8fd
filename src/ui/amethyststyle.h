// The program's visual style, "Amethyst", applied to the whole application
// at start.
#pragma once

class QApplication;

namespace brevanto {

// False when the style sheet could not be read from the program's resources.
bool applyAmethystStyle(QApplication& application);

}  // namespace brevanto
