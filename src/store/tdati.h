// The settings record: every key of the settings file as a field, in the
// order the program has always kept them, and the one flag that lives only
// while the program runs.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "acquisition/basicvariables.h"
#include "acquisition/computedvalues.h"
#include "platform/localdatetime.h"

namespace brevanto {

// "Index" fields hold the zero-based position of an item in a list of the
// settings dialog. A time of day is held as a date-time: after loading, the
// program puts each onto today's date; only the time of day is stored.
struct TDati {
    // Every field at the default of its key.
    TDati();

    // [Main]
    std::int32_t measTime{};      // MeasTime
    std::int32_t updateLog{};     // UpdateLog
    std::string comPort;          // COM PORT
    std::int32_t comPortIndex{};  // COM PORT index
    std::int32_t baudRate{};      // Baud rate
    bool autoSearch{};            // AutoSearch
    std::int32_t refreshWeb{};    // RefreshWeb
    std::string webPassword;      // Password
    bool extView{};               // Ext view

    // [Mail]
    std::string mailUsername;  // Username
    std::string mailPassword;  // Password
    std::string smtpHost;      // SMTP
    std::string smtpPort;      // Port
    std::string mailAddress;   // Address
    bool authRequired{};       // AuthRequired
    bool proxyRequired{};      // ProxyRequired
    std::string urlProxy;      // Url Proxy
    std::string portProxy;     // Port Proxy
    bool useInternal{};        // Useinternal

    // [Main], kept after the mail fields
    bool autoConnect{};    // AutoConnect
    bool autoReConnect{};  // AutoReConnect

    // [Http]
    std::string httpPort;  // Port
    std::string title;     // Title
    bool reqByWeb{};       // ReqByWeb

    // [Timer], each array for timers A, B, C, D
    std::array<bool, 4> timerEnabled{};        // A ... D
    std::array<std::int32_t, 4> timerInput{};  // A input ... D input
    std::array<LocalDateTime, 4> timeOn{};     // Time A ON ... Time D ON
    std::array<LocalDateTime, 4> timeOff{};    // Time A OFF ... Time D OFF
    std::array<bool, 4> timerNextDay{};        // Anext ... Dnext

    // [BasicInfo]: labels of the basic variables 1 to 15
    std::array<std::string, kBasicVariableCount> basicLabels;

    // [ComputedInfo]
    std::array<std::string, kComputedValueCount> computedLabels;  // Aux1 ... Aux6
    std::array<std::string, kComputedValueCount> computedUnits;   // UnitAux1 ... UnitAux6

    // [Trigger]
    std::array<bool, 5> mailOut{};  // Out 1 ... Out 5
    bool mailOnError{};             // Err

    // [Log]
    std::int32_t logFrequency{};  // Frequency
    bool logEachMonth{};          // EachMonth

    // [LogIn]
    bool logComputed{};  // LogComputed
    bool logBasic{};     // LogBasic
    bool logEvent{};     // LogEvent
    bool logEnergy{};    // LogEnergy

    // [Condition]
    std::int32_t conditionInput{};   // input
    std::int32_t conditionOutput{};  // output
    std::int32_t conditionTime{};    // Time, in seconds
    bool OffTimerArmed{};            // not stored: TimerOff still has to fire
    bool forceOn{};                  // ForceON

    // [REBOOT]
    std::int32_t reboot{};  // Reboot

    // [MQTT]: the readings published to a broker, for Home Assistant
    bool mqttEnabled{};        // Enabled
    std::string mqttHost;      // Host
    std::string mqttPort;      // Port, as typed
    std::string mqttUsername;  // Username
    std::string mqttPassword;  // Password
    bool mqttTls{};            // TLS
    std::string mqttTopic;     // Topic: the first level of every topic
    bool mqttDiscovery{};      // Discovery: Home Assistant's configs

    bool operator==(const TDati&) const = default;
};

}  // namespace brevanto
