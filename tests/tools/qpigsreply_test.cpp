#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "inverter-sim/qpigspayload.h"
#include "inverter-sim/responder.h"
#include "link/frames.h"

namespace brevanto::sim {
namespace {

constexpr double kHour = 3600.0;
// Widths of the 21 fields of the standard reply.
constexpr size_t kFieldWidths[] = {5, 4, 5, 4, 4, 4, 3, 3, 5, 3, 3, 4, 4, 5, 5, 5, 8, 2, 2, 5, 3};

// One decoded reply, fields numbered from 1 as a monitor's manual counts them.
struct Qpigs {
    std::vector<uint8_t> frame;
    std::vector<std::string> fields;

    double number(int field) const { return std::stod(fields.at(field - 1)); }
    std::string flags() const { return fields.at(16).substr(5); }
};

Qpigs askQpigs(Responder& responder, double secondsSinceMidnight) {
    std::vector<uint8_t> command = commandFrame("QPIGS");
    command.pop_back();
    Qpigs reply{responder.reply(command, secondsSinceMidnight).value(), {}};
    const std::string payload(reply.frame.begin() + 1, reply.frame.end() - 3);
    for (size_t start = 0; start <= payload.size();) {
        const size_t blank = std::min(payload.find(' ', start), payload.size());
        reply.fields.push_back(payload.substr(start, blank - start));
        start = blank + 1;
    }
    return reply;
}

std::vector<Qpigs> wholeDay(uint64_t seed) {
    Responder responder(seed);
    std::vector<Qpigs> replies;
    for (double t = 0; t < 24 * kHour; t += 7 * 60) {
        replies.push_back(askQpigs(responder, t));
    }
    return replies;
}

TEST(InverterSimQpigs, PayloadKeepsEveryFieldToItsWidth) {
    QpigsReading typical{230.0, 50.0, 230.0, 50.0,  322.0, 205.0, 5.0,  422.0, 53.2,  12.0, 100.0,
                         56.0,  21.0, 224.7, 53.45, 0.0,   true,  true, true,  false, 473.0};
    QpigsReading huge{1e9, 1e9, 1e9, 1e9,  1e9,  1e9,  1e9,  1e9,  1e9,  1e9, 1e9,
                      1e9, 1e9, 1e9, 1e30, 1e12, true, true, true, true, 1e9};
    QpigsReading negative{-1, -1, -230, -50, -1, -1,    -1,    -1,    -53,   -1,  -1,
                          -1, -1, -1,   -1,  -1, false, false, false, false, -473};
    QpigsReading edges = typical;
    edges.batteryVolts = 99.996;
    edges.gridHertz = 49.96;
    edges.pvVolts = 0.04;
    edges.sccVolts = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        QpigsReading reading;
        std::string payload;
    };
    const Case cases[] = {
        {typical,
         "230.0 50.0 230.0 50.0 0322 0205 005 422 53.20 012 100 0056 0021 224.7 53.45 00000 "
         "00010110 00 00 00473 010"},
        {huge,
         "999.9 99.9 999.9 99.9 9999 9999 999 999 99.99 999 999 9999 9999 999.9 99.99 99999 "
         "00010111 00 00 99999 010"},
        {negative,
         "000.0 00.0 000.0 00.0 0000 0000 000 000 00.00 000 000 0000 0000 000.0 00.00 00000 "
         "00000000 00 00 00000 010"},
        {edges,
         "230.0 50.0 230.0 50.0 0322 0205 005 422 99.99 012 100 0056 0021 000.0 00.00 00000 "
         "00010110 00 00 00473 010"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qpigsPayload(c.reading), c.payload);
    }
}

TEST(InverterSimQpigs, NightAndMiddayLookLikeTheirTimeOfDay) {
    struct Case {
        double hour;
        double minPvAmps;
        double maxPvAmps;
        bool batteryCharges;
        std::string flags;  // charging, solar charging, grid charging
    };
    const Case cases[] = {
        {3.0, 0, 0, false, "000"},
        {13.0, 40, 60, true, "110"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hour);
        Responder responder(1);
        const Qpigs reply = askQpigs(responder, c.hour * kHour);
        EXPECT_GE(reply.number(13), c.minPvAmps);
        EXPECT_LE(reply.number(13), c.maxPvAmps);
        EXPECT_EQ(reply.number(10) > 0, c.batteryCharges);
        EXPECT_EQ(reply.number(16) > 0, !c.batteryCharges);
        EXPECT_EQ(reply.flags(), c.flags);
        EXPECT_EQ(std::string(reply.frame.begin() + 88, reply.frame.begin() + 91), c.flags);
        if (c.maxPvAmps == 0) {
            EXPECT_EQ(reply.number(14), 0.0);
        } else {
            EXPECT_GE(reply.number(14), 100.0);
            EXPECT_LE(reply.number(14), 140.0);
        }
    }
}

void expectWellFormed(const Qpigs& reply) {
    ASSERT_EQ(reply.frame.size(), 110u);
    const std::string payload(reply.frame.begin() + 1, reply.frame.begin() + 107);
    EXPECT_EQ(replyFrame(payload), reply.frame) << "the check bytes are wrong";
    ASSERT_EQ(reply.fields.size(), std::size(kFieldWidths)) << payload;
    for (size_t i = 0; i < reply.fields.size(); ++i) {
        EXPECT_EQ(reply.fields[i].size(), kFieldWidths[i]) << "field " << i + 1;
    }
    EXPECT_EQ(reply.fields[17] + reply.fields[18] + reply.fields[20], "0000010");
}

void expectInRange(const Qpigs& r, int field, double low, double high) {
    EXPECT_GE(r.number(field), low) << "field " << field;
    EXPECT_LE(r.number(field), high) << "field " << field;
}

void expectRealistic(const Qpigs& r) {
    expectInRange(r, 1, 220, 240);
    expectInRange(r, 2, 49.5, 50.5);
    expectInRange(r, 3, 225, 235);
    expectInRange(r, 4, 49.5, 50.5);
    expectInRange(r, 5, 200, 900);
    expectInRange(r, 6, 0.7 * r.number(5), r.number(5));
    expectInRange(r, 7, r.number(5) / 40 - 1, r.number(5) / 40 + 1);
    expectInRange(r, 8, 380, 420);
    expectInRange(r, 9, 48.0, 57.6);
    expectInRange(r, 11, 0, 100);
    expectInRange(r, 12, 30, 50);
    expectInRange(r, 13, 0, 60);
}

// Whatever a monitor derives from one field must not be contradicted by
// another: flags, charge against discharge, PV power against PV current.
void expectConsistent(const Qpigs& r) {
    const bool pv = r.number(13) > 0;
    EXPECT_EQ(r.flags(), pv ? "110" : "000");
    EXPECT_FALSE(r.number(10) > 0 && r.number(16) > 0) << "charging and discharging at once";
    if (pv) {
        expectInRange(r, 14, 100, 140);
        expectInRange(r, 15, r.number(9) - 0.2, r.number(9) + 0.2);
    } else {
        EXPECT_GT(r.number(16), 0) << "without PV the load runs from the battery";
    }
    const double pvWatts = r.number(13) * r.number(9);
    expectInRange(r, 20, pvWatts * 0.99 - 1, pvWatts * 1.01 + 1);
}

TEST(InverterSimQpigs, EveryReplyOfTheDayIsWellFormedRealisticAndConsistent) {
    for (const uint64_t seed : {1u, 2u}) {
        for (const Qpigs& reply : wholeDay(seed)) {
            SCOPED_TRACE(std::string(reply.frame.begin(), reply.frame.end()));
            expectWellFormed(reply);
            expectRealistic(reply);
            expectConsistent(reply);
        }
    }
}

TEST(InverterSimQpigs, PvFlowsOnlyBetweenSunriseAndSunset) {
    const std::vector<Qpigs> day = wholeDay(1);
    for (size_t i = 0; i < day.size(); ++i) {
        const double hour = static_cast<double>(i) * 7 / 60;
        if (hour < 6.5 || hour > 19.0) {
            EXPECT_EQ(day[i].number(13), 0) << hour;
        }
    }
    const auto peak = std::max_element(day.begin(), day.end(), [](const Qpigs& a, const Qpigs& b) {
        return a.number(13) < b.number(13);
    });
    const double peakHour = static_cast<double>(peak - day.begin()) * 7 / 60;
    EXPECT_NEAR(peakHour, 13.0, 1.5);
}

TEST(InverterSimQpigs, BatteryRisesWithPvAndSinksThroughTheNight) {
    Responder responder(1);
    const auto volts = [&](double hour) { return askQpigs(responder, hour * kHour).number(9); };
    EXPECT_GT(volts(13.0), volts(3.0));
    EXPECT_GT(volts(16.0), volts(10.0));
    EXPECT_GT(volts(21.0), volts(1.0));
    EXPECT_GT(volts(1.0), volts(5.0));

    std::vector<Qpigs> day = wholeDay(1);
    std::sort(day.begin(), day.end(),
              [](const Qpigs& a, const Qpigs& b) { return a.number(9) < b.number(9); });
    for (size_t i = 1; i < day.size(); ++i) {
        EXPECT_LE(day[i - 1].number(11), day[i].number(11))
            << "capacity must not fall as the voltage rises";
    }
}

TEST(InverterSimQpigs, TheSeedMakesTheNoiseRepeat) {
    const auto sequence = [](uint64_t seed) {
        Responder responder(seed);
        std::vector<std::vector<uint8_t>> frames;
        for (const double hour : {3.0, 9.5, 13.0, 13.0, 20.25}) {
            frames.push_back(askQpigs(responder, hour * kHour).frame);
        }
        return frames;
    };
    EXPECT_EQ(sequence(42), sequence(42));
    EXPECT_NE(sequence(42), sequence(43));
}

}  // namespace
}  // namespace brevanto::sim
