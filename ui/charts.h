// Chart gadgets (Qt Charts): a line of a figure over days, and bars of two figures a category side
// by side. The program hands over what to draw, already reduced to what the pixels can show, with
// each point's and bar's hover text (its date and exact figure): the chart works out nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::ui {

struct LinePoint {
    std::int32_t day = 0;  // days since 1970-01-01
    double value = 0;      // where it is drawn
    std::string label;     // what the hover shows, UTF-8
};

// A label of the date axis, at the start of its day.
struct DayTick {
    std::int32_t day = 0;
    std::string label;
};

struct BarPair {
    std::string category;  // under the bars
    double first = 0;
    double second = 0;
    std::string first_label;  // what the hover shows, UTF-8
    std::string second_label;
};

// An empty chart; set_line_points or set_bar_pairs fills it (again), and nothing at all (no axes)
// when given nothing to draw.
bool create_chart(int number, int x, int y, int width, int height);
// The line of a balance kept through each day and stepping to the next point's at the end of the
// point's day; the date axis runs from the first point's day to the end of the last one's, labelled
// at the ticks. The points ahead, when given, go on from the last point as a dashed line of their
// own name (a forecast).
void set_line_points(int number, const std::vector<LinePoint>& points, const std::vector<DayTick>& ticks,
                     const std::string& name, const std::vector<LinePoint>& ahead = {},
                     const std::string& ahead_name = {});
// An empty second name: one bar a category, the first's.
void set_bar_pairs(int number, const std::vector<BarPair>& pairs, const std::string& first_name,
                   const std::string& second_name);
// The text the hover shows now (for tests), empty when none.
std::string chart_hover_text(int number);
// Hovers the line at a moment (seconds since 1970-01-01) or a bar (its category, and 0 for the
// first figure, 1 for the second) as the pointer would, for tests and the keyboard alike.
void hover_line_at(int number, std::int64_t seconds);
void hover_bar(int number, int category, int figure);
// The points the line holds now, the dashed line's with them; and the dashed line's alone.
int line_point_count(int number);
int line_ahead_count(int number);

}  // namespace quillet::ui
