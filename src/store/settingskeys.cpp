#include "store/settingskeys.h"

#include <utility>
#include <vector>

namespace brevanto {
namespace {

constexpr std::string_view kMain = "Main";
constexpr std::string_view kMail = "Mail";
constexpr std::string_view kHttp = "Http";
constexpr std::string_view kTimer = "Timer";
constexpr std::string_view kBasicInfo = "BasicInfo";
constexpr std::string_view kComputedInfo = "ComputedInfo";
constexpr std::string_view kTrigger = "Trigger";
constexpr std::string_view kLog = "Log";
constexpr std::string_view kLogIn = "LogIn";
constexpr std::string_view kCondition = "Condition";
constexpr std::string_view kReboot = "REBOOT";
constexpr std::string_view kMqtt = "MQTT";

// The two accessors of a field, for a record being filled and for one being
// read: two plain captureless lambdas, which every compiler turns into the
// function pointers the table keeps.
// clang-format off
#define BREVANTO_FIELD(member)                              \
    [](TDati& s) -> auto& { return s.member; },             \
    [](const TDati& s) -> const auto& { return s.member; }
// clang-format on

template <typename T>
using Of = T& (*)(TDati&);
template <typename T>
using In = const T& (*)(const TDati&);

template <typename T>
SettingKey entry(std::string_view section, std::string_view key, T defaultValue, Of<T> of,
                 In<T> in) {
    return {section, key, SettingField<T>{of, in, std::move(defaultValue)}};
}

SettingKey integer(std::string_view section, std::string_view key, std::int32_t defaultValue,
                   Of<std::int32_t> of, In<std::int32_t> in) {
    return entry(section, key, defaultValue, of, in);
}

SettingKey flag(std::string_view section, std::string_view key, bool defaultValue, Of<bool> of,
                In<bool> in) {
    return entry(section, key, defaultValue, of, in);
}

SettingKey text(std::string_view section, std::string_view key, std::string_view defaultValue,
                Of<std::string> of, In<std::string> in) {
    return entry(section, key, std::string(defaultValue), of, in);
}

SettingKey time(std::string_view section, std::string_view key, Of<LocalDateTime> of,
                In<LocalDateTime> in) {
    return entry(section, key, LocalDateTime{}, of, in);
}

std::vector<SettingKey> buildTable() {
    return {
        integer(kMain, "MeasTime", 2, BREVANTO_FIELD(measTime)),
        integer(kMain, "UpdateLog", 2, BREVANTO_FIELD(updateLog)),
        integer(kMain, "RefreshWeb", 1, BREVANTO_FIELD(refreshWeb)),
        text(kMain, "COM PORT", "COM1", BREVANTO_FIELD(comPort)),
        integer(kMain, "COM PORT index", 1, BREVANTO_FIELD(comPortIndex)),
        flag(kMain, "AutoSearch", true, BREVANTO_FIELD(autoSearch)),
        integer(kMain, "Baud rate", 2400, BREVANTO_FIELD(baudRate)),
        text(kMain, "Password", "", BREVANTO_FIELD(webPassword)),
        flag(kMain, "Ext view", true, BREVANTO_FIELD(extView)),
        flag(kMain, "AutoConnect", false, BREVANTO_FIELD(autoConnect)),
        flag(kMain, "AutoReConnect", false, BREVANTO_FIELD(autoReConnect)),

        flag(kMail, "AuthRequired", false, BREVANTO_FIELD(authRequired)),
        text(kMail, "Username", "", BREVANTO_FIELD(mailUsername)),
        text(kMail, "Password", "", BREVANTO_FIELD(mailPassword)),
        text(kMail, "SMTP", "", BREVANTO_FIELD(smtpHost)),
        text(kMail, "Port", "25", BREVANTO_FIELD(smtpPort)),
        text(kMail, "Address", "", BREVANTO_FIELD(mailAddress)),
        text(kMail, "Url Proxy", "", BREVANTO_FIELD(urlProxy)),
        text(kMail, "Port Proxy", "80", BREVANTO_FIELD(portProxy)),
        flag(kMail, "ProxyRequired", false, BREVANTO_FIELD(proxyRequired)),
        flag(kMail, "Useinternal", false, BREVANTO_FIELD(useInternal)),

        text(kHttp, "Port", "8080", BREVANTO_FIELD(httpPort)),
        text(kHttp, "Title", "Welcome to Home server", BREVANTO_FIELD(title)),
        flag(kHttp, "ReqByWeb", false, BREVANTO_FIELD(reqByWeb)),

        flag(kTimer, "A", false, BREVANTO_FIELD(timerEnabled[0])),
        flag(kTimer, "B", false, BREVANTO_FIELD(timerEnabled[1])),
        flag(kTimer, "C", false, BREVANTO_FIELD(timerEnabled[2])),
        flag(kTimer, "D", false, BREVANTO_FIELD(timerEnabled[3])),
        flag(kTimer, "Anext", false, BREVANTO_FIELD(timerNextDay[0])),
        flag(kTimer, "Bnext", false, BREVANTO_FIELD(timerNextDay[1])),
        flag(kTimer, "Cnext", false, BREVANTO_FIELD(timerNextDay[2])),
        flag(kTimer, "Dnext", false, BREVANTO_FIELD(timerNextDay[3])),
        integer(kTimer, "A input", 0, BREVANTO_FIELD(timerInput[0])),
        integer(kTimer, "B input", 0, BREVANTO_FIELD(timerInput[1])),
        integer(kTimer, "C input", 0, BREVANTO_FIELD(timerInput[2])),
        integer(kTimer, "D input", 0, BREVANTO_FIELD(timerInput[3])),
        time(kTimer, "Time A ON", BREVANTO_FIELD(timeOn[0])),
        time(kTimer, "Time B ON", BREVANTO_FIELD(timeOn[1])),
        time(kTimer, "Time C ON", BREVANTO_FIELD(timeOn[2])),
        time(kTimer, "Time D ON", BREVANTO_FIELD(timeOn[3])),
        time(kTimer, "Time A OFF", BREVANTO_FIELD(timeOff[0])),
        time(kTimer, "Time B OFF", BREVANTO_FIELD(timeOff[1])),
        time(kTimer, "Time C OFF", BREVANTO_FIELD(timeOff[2])),
        time(kTimer, "Time D OFF", BREVANTO_FIELD(timeOff[3])),

        text(kBasicInfo, "AC Voltage", "AC Voltage", BREVANTO_FIELD(basicLabels[0])),
        text(kBasicInfo, "AC Frequency", "AC Frequency", BREVANTO_FIELD(basicLabels[1])),
        text(kBasicInfo, "PV Input Voltage", "PV Input Voltage", BREVANTO_FIELD(basicLabels[2])),
        text(kBasicInfo, "PV Input Corrent", "PV Input Corrent", BREVANTO_FIELD(basicLabels[3])),
        text(kBasicInfo, "Battery Voltage", "Battery Voltage", BREVANTO_FIELD(basicLabels[4])),
        text(kBasicInfo, "Battery Capacity", "Battery Capacity", BREVANTO_FIELD(basicLabels[5])),
        text(kBasicInfo, "Charging Current", "Charging Current", BREVANTO_FIELD(basicLabels[6])),
        text(kBasicInfo, "Discharge Current", "Discharge Current", BREVANTO_FIELD(basicLabels[7])),
        text(kBasicInfo, "Output Frequency", "Output Frequency", BREVANTO_FIELD(basicLabels[8])),
        text(kBasicInfo, "Output Voltage", "Output Voltage", BREVANTO_FIELD(basicLabels[9])),
        text(kBasicInfo, "Output Apparent Power", "Output Apparent Power",
             BREVANTO_FIELD(basicLabels[10])),
        text(kBasicInfo, "Output Active Power", "Output Active Power",
             BREVANTO_FIELD(basicLabels[11])),
        text(kBasicInfo, "Load Percent", "Load Percent", BREVANTO_FIELD(basicLabels[12])),
        text(kBasicInfo, "Inverter Heat Sink temperature", "Inverter HS Temperature",
             BREVANTO_FIELD(basicLabels[13])),
        text(kBasicInfo, "Bus Voltage", "Bus Voltage", BREVANTO_FIELD(basicLabels[14])),

        text(kComputedInfo, "Aux1", "Solar Energy (24h)", BREVANTO_FIELD(computedLabels[0])),
        text(kComputedInfo, "Aux2", "Solar Power", BREVANTO_FIELD(computedLabels[1])),
        text(kComputedInfo, "Aux3", "Line Energy (app)", BREVANTO_FIELD(computedLabels[2])),
        text(kComputedInfo, "Aux4", "Line Energy (act)", BREVANTO_FIELD(computedLabels[3])),
        text(kComputedInfo, "Aux5", "[A]Total Solar Energy", BREVANTO_FIELD(computedLabels[4])),
        text(kComputedInfo, "Aux6", "[B]Total Line Energy", BREVANTO_FIELD(computedLabels[5])),
        text(kComputedInfo, "UnitAux1", "kWh", BREVANTO_FIELD(computedUnits[0])),
        text(kComputedInfo, "UnitAux2", "W", BREVANTO_FIELD(computedUnits[1])),
        text(kComputedInfo, "UnitAux3", "kWh", BREVANTO_FIELD(computedUnits[2])),
        text(kComputedInfo, "UnitAux4", "kWh", BREVANTO_FIELD(computedUnits[3])),
        text(kComputedInfo, "UnitAux5", "kWh", BREVANTO_FIELD(computedUnits[4])),
        text(kComputedInfo, "UnitAux6", "kWh", BREVANTO_FIELD(computedUnits[5])),

        flag(kTrigger, "Out 1", false, BREVANTO_FIELD(mailOut[0])),
        flag(kTrigger, "Out 2", false, BREVANTO_FIELD(mailOut[1])),
        flag(kTrigger, "Out 3", false, BREVANTO_FIELD(mailOut[2])),
        flag(kTrigger, "Out 4", false, BREVANTO_FIELD(mailOut[3])),
        flag(kTrigger, "Out 5", false, BREVANTO_FIELD(mailOut[4])),
        flag(kTrigger, "Err", false, BREVANTO_FIELD(mailOnError)),

        integer(kLog, "Frequency", 0, BREVANTO_FIELD(logFrequency)),
        flag(kLog, "EachMonth", false, BREVANTO_FIELD(logEachMonth)),

        flag(kLogIn, "LogComputed", true, BREVANTO_FIELD(logComputed)),
        flag(kLogIn, "LogBasic", true, BREVANTO_FIELD(logBasic)),
        flag(kLogIn, "LogEvent", true, BREVANTO_FIELD(logEvent)),
        flag(kLogIn, "LogEnergy", true, BREVANTO_FIELD(logEnergy)),

        integer(kCondition, "input", 0, BREVANTO_FIELD(conditionInput)),
        integer(kCondition, "output", 0, BREVANTO_FIELD(conditionOutput)),
        integer(kCondition, "Time", 0, BREVANTO_FIELD(conditionTime)),
        flag(kCondition, "ForceON", false, BREVANTO_FIELD(forceOn)),

        integer(kReboot, "Reboot", 0, BREVANTO_FIELD(reboot)),

        flag(kMqtt, "Enabled", false, BREVANTO_FIELD(mqttEnabled)),
        text(kMqtt, "Host", "", BREVANTO_FIELD(mqttHost)),
        text(kMqtt, "Port", "1883", BREVANTO_FIELD(mqttPort)),
        text(kMqtt, "Username", "", BREVANTO_FIELD(mqttUsername)),
        text(kMqtt, "Password", "", BREVANTO_FIELD(mqttPassword)),
        flag(kMqtt, "TLS", false, BREVANTO_FIELD(mqttTls)),
        text(kMqtt, "Topic", "brevanto", BREVANTO_FIELD(mqttTopic)),
        flag(kMqtt, "Discovery", true, BREVANTO_FIELD(mqttDiscovery)),
    };
}

#undef BREVANTO_FIELD

}  // namespace

std::span<const SettingKey> settingKeys() {
    static const std::vector<SettingKey> kTable = buildTable();
    return kTable;
}

}  // namespace brevanto
