#include "charts/daychartpage.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "charts/minmaxreduce.h"

namespace brevanto {

namespace {

constexpr float kDaySeconds = 86400.0F;
// Drawn in a box of 800 by 440 units that scales to the page's width.
constexpr float kLeft = 64;
constexpr float kRight = 736;
constexpr float kTop = 48;
constexpr float kBottom = 392;
// A longer pause in the readings (the link down) is a gap in the line.
constexpr float kGapSeconds = 900;

struct CurveStyle {
    DayCurve curve;
    const char* colour;
    const char* dash;
};
constexpr CurveStyle kStyles[] = {
    {DayCurve::PvPower, "#d89a00", ""},
    {DayCurve::OutputActivePower, "#6b3fa0", ""},
    {DayCurve::BatteryVoltage, "#2a8f5c", ""},
    {DayCurve::BatteryCapacity, "#3c78d8", " stroke-dasharray=\"6 4\""},
};

std::string fixed(float value, int decimals = 1) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    return text;
}

void escapeInto(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                // Control characters have no place in XML text.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
                    out += c;
                }
        }
    }
}

// 1, 2 or 5 times a power of ten, at least `value`: a round top for an axis.
float roundUp(float value) {
    if (!(value > 0)) {
        return 1;
    }
    const float power = std::pow(10.0F, std::floor(std::log10(value)));
    for (const float step : {1.0F, 2.0F, 5.0F, 10.0F}) {
        if (value <= step * power) {
            return step * power;
        }
    }
    return 10 * power;
}

float highest(const DaySeries& series, bool powerAxis) {
    float top = 0;
    for (const CurveStyle& style : kStyles) {
        if (onPowerAxis(style.curve) != powerAxis) {
            continue;
        }
        for (const float value : series.curve(style.curve)) {
            if (!std::isnan(value)) {
                top = std::max(top, value);
            }
        }
    }
    return top;
}

float xOf(float seconds) {
    return kLeft + (kRight - kLeft) * std::clamp(seconds / kDaySeconds, 0.0F, 1.0F);
}

float yOf(float value, float top) {
    return kBottom - (kBottom - kTop) * std::clamp(value / top, 0.0F, 1.0F);
}

void drawAxes(std::string& svg, float powerTop, float otherTop) {
    svg += "<g font-size=\"12\" fill=\"#5d4d72\">";
    for (int step = 0; step <= 4; ++step) {
        const float y = kBottom - (kBottom - kTop) * static_cast<float>(step) / 4;
        svg += "<line x1=\"" + fixed(kLeft) + "\" y1=\"" + fixed(y) + "\" x2=\"" + fixed(kRight) +
               "\" y2=\"" + fixed(y) + "\" stroke=\"#e4d8f3\"/>";
        svg += "<text x=\"" + fixed(kLeft - 6) + "\" y=\"" + fixed(y + 4) +
               "\" text-anchor=\"end\">" + fixed(powerTop * static_cast<float>(step) / 4, 0) +
               "</text>";
        svg += "<text x=\"" + fixed(kRight + 6) + "\" y=\"" + fixed(y + 4) + "\">" +
               fixed(otherTop * static_cast<float>(step) / 4, 0) + "</text>";
    }
    for (int hour = 0; hour <= 24; hour += 3) {
        const float x = xOf(static_cast<float>(hour) * 3600);
        svg += "<line x1=\"" + fixed(x) + "\" y1=\"" + fixed(kTop) + "\" x2=\"" + fixed(x) +
               "\" y2=\"" + fixed(kBottom) + "\" stroke=\"#efe9f6\"/>";
        char label[8];
        std::snprintf(label, sizeof label, "%02d:00", hour);
        svg += "<text x=\"" + fixed(x) + "\" y=\"" + fixed(kBottom + 18) +
               "\" text-anchor=\"middle\">" + label + "</text>";
    }
    svg += "<text x=\"" + fixed(kLeft - 6) + "\" y=\"" + fixed(kTop - 10) +
           "\" text-anchor=\"end\">W</text>";
    svg += "<text x=\"" + fixed(kRight + 6) + "\" y=\"" + fixed(kTop - 10) + "\">V, %</text>";
    svg += "<rect x=\"" + fixed(kLeft) + "\" y=\"" + fixed(kTop) + "\" width=\"" +
           fixed(kRight - kLeft) + "\" height=\"" + fixed(kBottom - kTop) +
           "\" fill=\"none\" stroke=\"#c9b8df\"/></g>";
}

void drawLegend(std::string& svg) {
    float x = kLeft;
    svg += "<g font-size=\"12\" fill=\"#2e2140\">";
    for (const CurveStyle& style : kStyles) {
        svg += "<rect x=\"" + fixed(x) + "\" y=\"10\" width=\"14\" height=\"4\" fill=\"" +
               style.colour + "\"/>";
        std::string label = dayCurveTitle(style.curve);
        label += " (";
        label += dayCurveUnit(style.curve);
        label += ")";
        svg += "<text x=\"" + fixed(x + 18) + "\" y=\"16\">" + label + "</text>";
        x += 30 + 7 * static_cast<float>(label.size());
    }
    svg += "</g>";
}

void drawCurve(std::string& svg, const DaySeries& series, const CurveStyle& style, float top) {
    const std::vector<ChartPoint> points =
        reduceMinMax(series.seconds, series.curve(style.curve), 0, kDaySeconds,
                     static_cast<int>(kRight - kLeft));
    const auto open = [&] {
        svg += "<polyline fill=\"none\" stroke=\"";
        svg += style.colour;
        svg += "\" stroke-width=\"1.5\"";
        svg += style.dash;
        svg += " points=\"";
    };
    bool drawing = false;
    float previous = 0;
    for (const ChartPoint& point : points) {
        if (drawing && point.x - previous > kGapSeconds) {
            svg += "\"/>";
            drawing = false;
        }
        if (!drawing) {
            open();
            drawing = true;
        } else {
            svg += ' ';
        }
        svg += fixed(xOf(point.x)) + "," + fixed(yOf(point.y, top));
        previous = point.x;
    }
    if (drawing) {
        svg += "\"/>";
    }
}

}  // namespace

std::string renderDayChartSvg(const DaySeries& series) {
    const float powerTop = roundUp(highest(series, true));
    const float otherTop = std::max(100.0F, roundUp(highest(series, false)));
    std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 800 440\" "
        "font-family=\"sans-serif\" role=\"img\">";
    svg += "<rect width=\"800\" height=\"440\" fill=\"#faf8fc\"/>";
    drawLegend(svg);
    drawAxes(svg, powerTop, otherTop);
    if (series.empty()) {
        svg +=
            "<text x=\"400\" y=\"220\" text-anchor=\"middle\" font-size=\"16\" "
            "fill=\"#5d4d72\">No readings for this day yet.</text>";
    }
    for (const CurveStyle& style : kStyles) {
        drawCurve(svg, series, style, onPowerAxis(style.curve) ? powerTop : otherTop);
    }
    svg += "</svg>";
    return svg;
}

std::string renderDayChartPage(const DaySeries& series, std::string_view heading) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/>"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/><title>";
    escapeInto(page, heading);
    page +=
        "</title><style>body{font-family:sans-serif;margin:8px;color:#2e2140;background:#f3eff8}"
        "h1{font-size:1.1em}svg{display:block;width:100%;height:auto;max-width:1000px}"
        "</style></head><body><h1>";
    escapeInto(page, heading);
    page += "</h1>";
    page += renderDayChartSvg(series);
    page += "<p><a href=\"/\">Back to the readings</a></p></body></html>\n";
    return page;
}

}  // namespace brevanto
