#pragma once

namespace sundrel::widgets {

// A range of axis values, minimum < maximum once displayed.
struct ChartRange {
    double minimum = 0.0;
    double maximum = 1.0;
};

// An axis as drawn: its displayed range over a span of pixels. Values map
// linearly: offset = (value − minimum) × length / (maximum − minimum); the
// screen position is the start of the axis plus the offset, or its end minus
// the offset when inverted. A horizontal axis starts at its left pixel and
// grows to the right (to the left when inverted); a vertical axis starts at
// its bottom pixel and grows upward (downward when inverted).
struct ChartAxisScale {
    ChartRange range;    // axis units, minimum < maximum
    double first = 0.0;  // smaller screen coordinate of the span, pixels
    double last = 1.0;   // larger screen coordinate of the span, pixels, > first
    bool horizontal = true;
    bool inverted = false;

    double length() const { return last - first; }
    double toScreen(double value) const;
    double toValue(double screen) const;
    // Pixels per axis unit, > 0.
    double pixelsPerUnit() const { return length() / (range.maximum - range.minimum); }
};

}  // namespace sundrel::widgets
