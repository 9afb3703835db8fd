#include "web/metricspage.h"

#include <prometheus/counter.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <sstream>

#include "acquisition/readingkeys.h"

namespace brevanto {

namespace {

void count(prometheus::Family<prometheus::Counter>& family, const prometheus::Labels& labels,
           std::uint64_t value) {
    family.Add(labels).Increment(static_cast<double>(value));
}

}  // namespace

std::string renderMetrics(const MetricsValues& values) {
    prometheus::Registry registry;
    auto& readings = prometheus::BuildGauge()
                         .Name("brevanto_reading")
                         .Help("The inverter's last good reading")
                         .Register(registry);
    for (std::size_t i = 0; i < values.readings.size(); ++i) {
        if (values.readings[i]) {
            readings.Add({{"reading", kReadingKeys[i]}, {"unit", kBasicVariables[i].unit}})
                .Set(*values.readings[i]);
        }
    }
    auto& computed = prometheus::BuildGauge()
                         .Name("brevanto_computed")
                         .Help("The values computed from the readings")
                         .Register(registry);
    for (std::size_t i = 0; i < values.computed.size(); ++i) {
        if (values.computed[i]) {
            computed.Add({{"value", kComputedKeys[i]}, {"unit", kComputedUnits[i]}})
                .Set(*values.computed[i]);
        }
    }
    prometheus::BuildGauge()
        .Name("brevanto_link_connected")
        .Help("1 while the inverter is connected")
        .Register(registry)
        .Add({})
        .Set(values.connected ? 1 : 0);
    auto& cycles = prometheus::BuildCounter()
                       .Name("brevanto_cycles_total")
                       .Help("Reading cycles finished")
                       .Register(registry);
    count(cycles, {}, values.cycles);
    auto& failures = prometheus::BuildCounter()
                         .Name("brevanto_exchange_failures_total")
                         .Help("Exchanges with the inverter that failed, by cause")
                         .Register(registry);
    count(failures, {{"cause", "not_sent"}}, values.exchangesNotSent);
    count(failures, {{"cause", "no_reply"}}, values.exchangesWithoutReply);
    count(failures, {{"cause", "bad_reply"}}, values.exchangesWithBadReply);
    auto& reconnects = prometheus::BuildCounter()
                           .Name("brevanto_reconnects_total")
                           .Help("Automatic reconnects run")
                           .Register(registry);
    count(reconnects, {}, values.reconnects);
    auto& requests = prometheus::BuildCounter()
                         .Name("brevanto_web_requests_total")
                         .Help("Requests the web server answered")
                         .Register(registry);
    count(requests, {}, values.webRequests);

    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, registry.Collect());
    return out.str();
}

}  // namespace brevanto
