#include "app/startfolders.h"

#include <QStandardPaths>

#include "store/settingspath.h"

namespace brevanto {

ProgramFolders startFolders() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return programFolders(settingsPath(), std::filesystem::current_path(),
                          std::filesystem::path(data.toStdString()));
}

}  // namespace brevanto
