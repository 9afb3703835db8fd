// The settings a connect and the watchdog read, as one small value: the hub
// copies them out of the live settings record, so nothing here reads that
// record while a search runs.
#pragma once

#include <string>

namespace brevanto {

struct ConnectionSettings {
    std::string comPort = "COM1";  // [Main] COM PORT: the name the messages show
    int comPortIndex = 1;          // [Main] COM PORT index: the port that is opened
    bool autoSearch = true;        // [Main] AutoSearch: try COM1..COM29
    bool autoReConnect = false;    // [Main] AutoReConnect: let the watchdog act
};

}  // namespace brevanto
