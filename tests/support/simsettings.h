// What the whole-program tests tell the simulator and the program: a reading
// whose panels are easy to check, and settings that connect to COM1 at once.
#pragma once

namespace brevanto::testing {

// Battery 52.10 V while the charge controller sees 52.20 V; AC 238.3 V.
inline constexpr const char* kBatteryReadingPayload =
    "238.3 50.0 230.2 50.0 0322 0205 005 422 52.10 000 050 0056 02.1 224.7 52.20 00000 00010110 "
    "00 00 00473 010";

// Auto-connect to COM1 without a search, one reading a second; the test adds
// [Ports] COM1 = the simulator's device.
inline constexpr const char* kAutoConnectToCom1 =
    "[Main]\nAutoConnect=1\nAutoSearch=0\nCOM PORT=COM1\nCOM PORT index=1\nMeasTime=0\n";

}  // namespace brevanto::testing
