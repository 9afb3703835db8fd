// What publishing to MQTT costs the main thread: one finished reading made
// into a state and handed to the publisher while a real broker (mosquitto
// on loopback) takes the messages; and the memory the publisher holds
// while the broker is down, over an hour's readings at one a second.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "acquisition/displaytexts.h"
#include "publish/mqttpublisher.h"
#include "support/freeport.h"
#include "support/mosquittoprocess.h"
#include "support/waituntil.h"

namespace {

using namespace brevanto;
using Stopwatch = std::chrono::steady_clock;

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

InverterReadings aReading(int second) {
    InverterReadings readings;
    const char* values[] = {"230.1", "50.0",  "78.4", "12",  "52.10", "87", "21", "0",
                            "50.0",  "229.9", "460",  "368", "9",     "38", "392"};
    for (int i = 0; i < kBasicVariableCount; ++i) {
        readings.basic[static_cast<std::size_t>(i) + 1] = values[i];
    }
    readings.basic[1] = std::to_string(220 + second % 20);
    readings.computed.SolarEnergy = second / 3600.0;
    readings.state.InverterMode = "Line (bypass)";
    readings.MainValuesValid = true;
    return readings;
}

// What the hub does on the main thread after each finished reading.
void publishReading(MqttPublisher& publisher, const InverterReadings& readings) {
    publisher.publishState(publishedState(displayTexts(readings), readings.line.LinePresent,
                                          LinkPhase::Running, "92932004102453"));
}

MqttSettings brokerAt(int port) {
    MqttSettings settings;
    settings.host = "127.0.0.1";
    settings.port = port;
    return settings;
}

void publicationCost() {
    testing::MosquittoProcess broker;
    MqttPublisher publisher([](const std::string&) {}, "1.1.7.1");
    publisher.configure(brokerAt(broker.port()));
    publishReading(publisher, aReading(0));
    testing::waitUntil([&] { return publisher.statesSent() == 1; }, testing::pauseBriefly);

    const int readings = 20000;
    std::vector<double> micros;
    micros.reserve(readings);
    for (int i = 0; i < readings; ++i) {
        const InverterReadings reading = aReading(i);
        const auto start = Stopwatch::now();
        publishReading(publisher, reading);
        micros.push_back(
            std::chrono::duration<double, std::micro>(Stopwatch::now() - start).count());
    }
    const auto over = std::count_if(micros.begin(), micros.end(), [](double m) { return m > 100; });
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (const double m : micros) {
        sum += m;
    }
    std::printf(
        "one state publication on the main thread, broker up: mean %.2f us, median %.2f us, "
        "99th percentile %.2f us, worst %.2f us [target under 100 us]\n",
        sum / readings, micros[readings / 2], micros[readings * 99 / 100], micros.back());
    std::printf(
        "  %ld of %d over 100 us; %llu states sent (the rest replaced while one was on "
        "its way)\n",
        static_cast<long>(over), readings, static_cast<unsigned long long>(publisher.statesSent()));
}

void memoryWhileTheBrokerIsDown() {
    MqttPublisher publisher([](const std::string&) {}, "1.1.7.1");
    publisher.configure(brokerAt(testing::unusedPort()));
    publishReading(publisher, aReading(0));
    const long before = residentKb();
    const int hour = 3600;
    for (int second = 1; second <= 2 * hour; ++second) {
        publishReading(publisher, aReading(second));
        if (second % 60 == 0) {
            publisher.publishEvent("connection", "Connection to /dev/ttyUSB0 lost: hang-up.");
        }
        if (second % hour == 0) {
            std::printf(
                "broker down, after %d readings (%d h at one a second): resident %ld kB "
                "(%+ld kB), %zu bytes held for the broker [target flat]\n",
                second, second / hour, residentKb(), residentKb() - before, publisher.heldBytes());
        }
    }
}

}  // namespace

int main() {
    publicationCost();
    memoryWhileTheBrokerIsDown();
    return 0;
}
