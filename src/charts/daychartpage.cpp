#include "charts/daychartpage.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "charts/minmaxreduce.h"

namespace brevanto {

namespace {

constexpr float kDaySeconds = 86400.0F;
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

// The drawing's box, in units that scale to the page's width, and the plot
// area inside it. A phone gets a box of its own, so that its text stays
// readable once the whole day is scaled down to its width.
struct Layout {
    float width;
    float height;
    float left;
    float right;
    float top;
    float bottom;
    float fontSize;
    int legendPerRow;
};
// The phone's plot is exactly half the desk's wide, so its pixel columns
// are pairs of the desk's and can be reduced from the desk's points.
constexpr Layout kDesk{800, 440, 64, 736, 48, 392, 12, 4};
constexpr Layout kPhone{420, 400, 44, 380, 70, 360, 12, 2};

int columns(const Layout& at) {
    return static_cast<int>(at.right - at.left);
}

std::string fixed(float value, int decimals = 1) {
    char text[32];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc{} ? std::string(text, end) : std::string("0");
}

// Each curve cut down to the points a drawing can show, and the axes' tops.
struct Drawing {
    std::array<std::vector<ChartPoint>, kDayCurveCount> curves;
    float powerTop = 1;
    float otherTop = 100;
    bool empty = true;
};

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
    for (const float step : {1.0F, 1.2F, 1.5F, 2.0F, 2.5F, 3.0F, 4.0F, 5.0F, 6.0F, 8.0F, 10.0F}) {
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

float xOf(const Layout& at, float seconds) {
    return at.left + (at.right - at.left) * std::clamp(seconds / kDaySeconds, 0.0F, 1.0F);
}

float yOf(const Layout& at, float value, float top) {
    return at.bottom - (at.bottom - at.top) * std::clamp(value / top, 0.0F, 1.0F);
}

void drawAxes(std::string& svg, const Layout& at, float powerTop, float otherTop) {
    svg += "<g font-size=\"" + fixed(at.fontSize, 0) + "\" fill=\"#5d4d72\">";
    for (int step = 0; step <= 4; ++step) {
        const float y = at.bottom - (at.bottom - at.top) * static_cast<float>(step) / 4;
        svg += "<line x1=\"" + fixed(at.left) + "\" y1=\"" + fixed(y) + "\" x2=\"" +
               fixed(at.right) + "\" y2=\"" + fixed(y) + "\" stroke=\"#e4d8f3\"/>";
        svg += "<text x=\"" + fixed(at.left - 4) + "\" y=\"" + fixed(y + 4) +
               "\" text-anchor=\"end\">" + fixed(powerTop * static_cast<float>(step) / 4, 0) +
               "</text>";
        svg += "<text x=\"" + fixed(at.right + 4) + "\" y=\"" + fixed(y + 4) + "\">" +
               fixed(otherTop * static_cast<float>(step) / 4, 0) + "</text>";
    }
    const int hourStep = at.width < 600 ? 6 : 3;
    for (int hour = 0; hour <= 24; hour += hourStep) {
        const float x = xOf(at, static_cast<float>(hour) * 3600);
        svg += "<line x1=\"" + fixed(x) + "\" y1=\"" + fixed(at.top) + "\" x2=\"" + fixed(x) +
               "\" y2=\"" + fixed(at.bottom) + "\" stroke=\"#efe9f6\"/>";
        char label[8];
        std::snprintf(label, sizeof label, "%02d:00", hour);
        svg += "<text x=\"" + fixed(x) + "\" y=\"" + fixed(at.bottom + at.fontSize + 6) +
               "\" text-anchor=\"middle\">" + label + "</text>";
    }
    svg += "<text x=\"" + fixed(at.left - 4) + "\" y=\"" + fixed(at.top - 10) +
           "\" text-anchor=\"end\">W</text>";
    svg += "<text x=\"" + fixed(at.right + 4) + "\" y=\"" + fixed(at.top - 10) + "\">V, %</text>";
    svg += "<rect x=\"" + fixed(at.left) + "\" y=\"" + fixed(at.top) + "\" width=\"" +
           fixed(at.right - at.left) + "\" height=\"" + fixed(at.bottom - at.top) +
           "\" fill=\"none\" stroke=\"#c9b8df\"/></g>";
}

void drawLegend(std::string& svg, const Layout& at) {
    svg += "<g font-size=\"" + fixed(at.fontSize, 0) + "\" fill=\"#2e2140\">";
    const float columnWidth = (at.width - 2 * at.left / 2) / static_cast<float>(at.legendPerRow);
    int index = 0;
    for (const CurveStyle& style : kStyles) {
        const float x = at.left / 2 + columnWidth * static_cast<float>(index % at.legendPerRow);
        const float y = 16 + (at.fontSize + 8) * static_cast<float>(index / at.legendPerRow);
        svg += "<rect x=\"" + fixed(x) + "\" y=\"" + fixed(y - 6) +
               "\" width=\"14\" height=\"4\" fill=\"" + style.colour + "\"/>";
        std::string label = dayCurveTitle(style.curve);
        label += " (";
        label += dayCurveUnit(style.curve);
        label += ")";
        svg += "<text x=\"" + fixed(x + 18) + "\" y=\"" + fixed(y) + "\">" + label + "</text>";
        ++index;
    }
    svg += "</g>";
}

void drawCurve(std::string& svg, const Layout& at, const std::vector<ChartPoint>& points,
               const CurveStyle& style, float top) {
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
        svg += fixed(xOf(at, point.x));
        svg += ',';
        svg += fixed(yOf(at, point.y, top));
        previous = point.x;
    }
    if (drawing) {
        svg += "\"/>";
    }
}

Drawing deskDrawing(const DaySeries& series) {
    Drawing drawing;
    drawing.powerTop = roundUp(highest(series, true));
    drawing.otherTop = std::max(100.0F, roundUp(highest(series, false)));
    drawing.empty = series.empty();
    for (std::size_t curve = 0; curve < kDayCurveCount; ++curve) {
        drawing.curves[curve] =
            reduceMinMax(series.seconds, series.values[curve], 0, kDaySeconds, columns(kDesk));
    }
    return drawing;
}

Drawing phoneDrawing(const Drawing& desk) {
    Drawing drawing = desk;
    std::vector<float> x;
    std::vector<float> y;
    for (std::vector<ChartPoint>& points : drawing.curves) {
        x.clear();
        y.clear();
        for (const ChartPoint& point : points) {
            x.push_back(point.x);
            y.push_back(point.y);
        }
        points = reduceMinMax(x, y, 0, kDaySeconds, columns(kPhone));
    }
    return drawing;
}

std::string renderSvg(const Drawing& drawing, const Layout& at, std::string_view kind) {
    const float powerTop = drawing.powerTop;
    const float otherTop = drawing.otherTop;
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"";
    svg += kind;
    svg += "\" viewBox=\"0 0 " + fixed(at.width, 0) + " " + fixed(at.height, 0) +
           "\" font-family=\"sans-serif\" role=\"img\">";
    svg += "<rect width=\"" + fixed(at.width, 0) + "\" height=\"" + fixed(at.height, 0) +
           "\" fill=\"#faf8fc\"/>";
    drawLegend(svg, at);
    drawAxes(svg, at, powerTop, otherTop);
    if (drawing.empty) {
        svg += "<text x=\"" + fixed((at.left + at.right) / 2) + "\" y=\"" +
               fixed((at.top + at.bottom) / 2) +
               "\" text-anchor=\"middle\" font-size=\"16\" fill=\"#5d4d72\">"
               "No readings for this day yet.</text>";
    }
    for (const CurveStyle& style : kStyles) {
        drawCurve(svg, at, drawing.curves[static_cast<std::size_t>(style.curve)], style,
                  onPowerAxis(style.curve) ? powerTop : otherTop);
    }
    svg += "</svg>";
    return svg;
}

}  // namespace

std::string renderDayChartSvg(const DaySeries& series) {
    return renderSvg(deskDrawing(series), kDesk, "desk");
}

std::string renderDayChartPage(const DaySeries& series, std::string_view heading) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/>"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/><title>";
    escapeInto(page, heading);
    page +=
        "</title><style>body{font-family:sans-serif;margin:8px;color:#2e2140;background:#f3eff8}"
        "h1{font-size:1.1em}svg{display:block;width:100%;height:auto;max-width:1000px}"
        "svg.phone{display:none}"
        "@media (max-width:600px){svg.desk{display:none}svg.phone{display:block}}"
        "</style></head><body><h1>";
    escapeInto(page, heading);
    page += "</h1>";
    const Drawing desk = deskDrawing(series);
    page += renderSvg(desk, kDesk, "desk");
    page += renderSvg(phoneDrawing(desk), kPhone, "phone");
    page += "<p><a href=\"/\">Back to the readings</a></p></body></html>\n";
    return page;
}

}  // namespace brevanto
