// The folders this run of the program uses: see programFolders. Asks Qt for
// the user's data folder, so the application object must exist.
#pragma once

#include "store/programfolders.h"

namespace brevanto {

ProgramFolders startFolders();

}  // namespace brevanto
