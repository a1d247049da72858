#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "widgets/chart_axis_scale.h"
#include "widgets/chart_ctrl.h"
#include "widgets/my_chart_standard_axis.h"

namespace sundrel::widgets {
namespace {

// Labels measured as 7 pixels per character along a horizontal axis and 14
// pixels high along a vertical one.
double charWidths(const QString& label) {
    return 7.0 * static_cast<double>(label.size());
}
double lineHeight(const QString&) {
    return 14.0;
}

std::vector<QString> labelsOf(const ChartTickPlan& plan) {
    std::vector<QString> labels;
    for (const ChartTick& tick : plan.ticks) {
        labels.push_back(tick.label);
    }
    return labels;
}

// No two labels closer than `gap` pixels, as the plan would draw them.
void expectLabelsClear(const ChartTickPlan& plan, ChartRange range, double length,
                       const std::function<double(const QString&)>& extent, double gap) {
    const double perUnit = length / (range.maximum - range.minimum);
    const ChartTick* previous = nullptr;
    for (const ChartTick& tick : plan.ticks) {
        if (tick.label.isEmpty()) {
            continue;
        }
        if (previous != nullptr) {
            const double distance = (tick.value - previous->value) * perUnit;
            EXPECT_GE(distance, (extent(tick.label) + extent(previous->label)) / 2.0 + gap)
                << previous->label.toStdString() << " / " << tick.label.toStdString();
        }
        previous = &tick;
    }
}

class StandardAxisTest : public ::testing::Test {
protected:
    CChartCtrl chart;
    CChartStandardAxis* bottom = chart.createStandardAxis(ChartAxisSlot::Bottom);
    CChartStandardAxis* left = chart.createStandardAxis(ChartAxisSlot::Left);
};

struct FixedStepCase {
    double step;
    ChartRange range;
    int decimals;
    std::vector<QString> labels;
};

TEST_F(StandardAxisTest, FixedStepLabelsCarryTheStepsDecimals) {
    const FixedStepCase cases[] = {
        {0.5, {-1.0, 1.0}, 1, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}},
        {4.0, {0.0, 20.0}, 0, {"0", "4", "8", "12", "16", "20"}},
        {0.05, {0.0, 0.2}, 2, {"0.00", "0.05", "0.10", "0.15", "0.20"}},
        {300.0, {0.0, 1200.0}, 0, {"0", "300", "600", "900", "1200"}},
        {2.0, {0.0, 10.0}, 0, {"0", "2", "4", "6", "8", "10"}},
    };
    for (const FixedStepCase& c : cases) {
        ASSERT_TRUE(bottom->setTickStep(c.step));
        EXPECT_FALSE(bottom->isTickStepAutomatic());
        EXPECT_EQ(bottom->tickStep(), c.step);
        EXPECT_EQ(bottom->tickDecimals(), c.decimals) << c.step;
        const ChartTickPlan plan = bottom->planTicks(c.range, 2000.0, charWidths);
        EXPECT_EQ(plan.decimals, c.decimals);
        EXPECT_EQ(labelsOf(plan), c.labels) << "step " << c.step;
    }
}

TEST_F(StandardAxisTest, AnAutomaticStepLeavesTheFixedStepStored) {
    ASSERT_TRUE(bottom->setTickStep(0.05));
    bottom->setAutomaticTickStep();
    EXPECT_TRUE(bottom->isTickStepAutomatic());
    EXPECT_EQ(bottom->tickStep(), 0.05);
    EXPECT_EQ(bottom->tickDecimals(), 2);
    for (const double bad : {0.0, -4.0, std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity()}) {
        EXPECT_FALSE(bottom->setTickStep(bad));
    }
    EXPECT_TRUE(bottom->isTickStepAutomatic());
    EXPECT_EQ(bottom->tickStep(), 0.05);
}

struct AutomaticCase {
    ChartRange range;
    double length;
};

TEST_F(StandardAxisTest, AutomaticStepsAreRoundAndTheirLabelsNeverOverlap) {
    const AutomaticCase cases[] = {
        {{0.0, 20.0}, 1500.0},      {{0.0, 20.0}, 200.0},    {{-0.5, 0.5}, 600.0},
        {{1234.5, 1290.0}, 900.0},  {{0.0, 1e9}, 700.0},     {{1e-6, 3e-6}, 800.0},
        {{-1500.0, -500.0}, 300.0}, {{0.0, 4200.0}, 1000.0}, {{99990.0, 100010.0}, 400.0},
        {{0.0, 1.0}, 40.0},         {{0.0, 1e9}, 300.0},     {{-2e6, 2e6}, 350.0},
    };
    for (CChartStandardAxis* axis : {bottom, left}) {
        const auto extent = axis->isHorizontal() ? charWidths : lineHeight;
        for (const AutomaticCase& c : cases) {
            const ChartTickPlan plan = axis->planTicks(c.range, c.length, extent);
            const double mantissa = plan.step / std::pow(10.0, std::floor(std::log10(plan.step)));
            EXPECT_TRUE(std::abs(mantissa - 1.0) < 1e-9 || std::abs(mantissa - 2.0) < 1e-9 ||
                        std::abs(mantissa - 5.0) < 1e-9)
                << plan.step;
            EXPECT_EQ(plan.decimals, stepDecimals(plan.step));
            for (const ChartTick& tick : plan.ticks) {
                EXPECT_GE(tick.value, c.range.minimum - plan.step * 1e-9);
                EXPECT_LE(tick.value, c.range.maximum + plan.step * 1e-9);
                EXPECT_FALSE(tick.label.isEmpty());
            }
            expectLabelsClear(plan, c.range, c.length, extent, 0.0);
            if (c.length >= 200.0) {
                EXPECT_GE(plan.ticks.size(), 2u) << c.range.minimum << ".." << c.range.maximum;
            }
        }
    }
}

TEST_F(StandardAxisTest, ATooDenseFixedStepLabelsRoundMultiplesOnly) {
    ASSERT_TRUE(left->setTickStep(5.0));
    const ChartRange range{0.0, 100.0};
    const ChartTickPlan roomy = left->planTicks(range, 600.0, lineHeight);
    EXPECT_EQ(roomy.ticks.size(), 21u);
    for (const ChartTick& tick : roomy.ticks) {
        EXPECT_FALSE(tick.label.isEmpty());
    }
    const ChartTickPlan tight = left->planTicks(range, 100.0, lineHeight);
    EXPECT_EQ(tight.ticks.size(), 21u);  // every tick stays
    expectLabelsClear(tight, range, 100.0, lineHeight, 1.0);
    for (const ChartTick& tick : tight.ticks) {
        if (!tick.label.isEmpty()) {
            EXPECT_EQ(std::fmod(tick.value, 20.0), 0.0) << tick.value;  // 4th ticks
        }
    }
    // Zoomed far out: ticks thinned to multiples of the step, not millions.
    const ChartTickPlan far = left->planTicks({0.0, 1e7}, 500.0, lineHeight);
    EXPECT_LE(far.ticks.size(), 200u);
    for (const ChartTick& tick : far.ticks) {
        EXPECT_EQ(std::fmod(tick.value, 5.0), 0.0);
    }
}

TEST(BandNameAxis, NamesTheFourBandsAtTheirTicks) {
    CChartCtrl chart;
    auto* axis = chart.createAxis<CMyChartStandardAxis>(ChartAxisSlot::Bottom);
    ASSERT_TRUE(axis->setTickStep(1.0));
    axis->setRange(0.0, 5.0);
    const ChartTickPlan plan = axis->planTicks({0.0, 5.0}, 800.0, charWidths);
    EXPECT_EQ(labelsOf(plan),
              (std::vector<QString>{"", "30-100mm", "100-300mm", "300-1000mm", "1000-3000mm", ""}));

    const std::pair<double, const char*> values[] = {
        {1.6, "100-300mm"},    {0.5, "30-100mm"}, {0.49, ""},
        {4.49, "1000-3000mm"}, {4.5, ""},         {-0.6, ""},
        {2.0, "100-300mm"},    {1e300, ""},       {std::numeric_limits<double>::quiet_NaN(), ""}};
    for (const auto& [value, label] : values) {
        EXPECT_EQ(axis->tickLabel(value, 0), QString(label)) << value;
    }
}

struct MappingCase {
    bool horizontal;
    bool inverted;
    double value;
    double screen;
};

TEST(AxisScale, MapsLinearlyFromTheStartOrBackFromTheEndWhenInverted) {
    // Range 0..10 over pixels 100..300: 20 pixels per unit.
    const MappingCase cases[] = {
        {true, false, 0.0, 100.0},  {true, false, 10.0, 300.0},  {true, false, 2.5, 150.0},
        {true, true, 0.0, 300.0},   {true, true, 10.0, 100.0},   {true, true, 2.5, 250.0},
        {false, false, 0.0, 300.0}, {false, false, 10.0, 100.0}, {false, false, 2.5, 250.0},
        {false, true, 0.0, 100.0},  {false, true, 2.5, 150.0},   {true, false, -1.0, 80.0},
    };
    for (const MappingCase& c : cases) {
        ChartAxisScale scale;
        scale.range = {0.0, 10.0};
        scale.first = 100.0;
        scale.last = 300.0;
        scale.horizontal = c.horizontal;
        scale.inverted = c.inverted;
        EXPECT_DOUBLE_EQ(scale.toScreen(c.value), c.screen)
            << c.horizontal << c.inverted << " " << c.value;
        EXPECT_DOUBLE_EQ(scale.toValue(c.screen), c.value);
    }
}

TEST(AxisRange, SetRangeIsWhatIsShownAndWhatAZoomReturnsTo) {
    CChartCtrl chart;
    auto* axis = chart.createStandardAxis(ChartAxisSlot::Bottom);
    EXPECT_TRUE(axis->isAutomaticRange());
    const ChartRange data{3.0, 7.0};
    EXPECT_DOUBLE_EQ(axis->displayedRange(data).minimum, 3.0);

    ASSERT_TRUE(axis->setRange(20.0, 0.0));  // either order
    EXPECT_FALSE(axis->isAutomaticRange());
    EXPECT_EQ(axis->range().minimum, 0.0);
    EXPECT_EQ(axis->range().maximum, 20.0);
    EXPECT_DOUBLE_EQ(axis->displayedRange(data).maximum, 20.0);

    ASSERT_TRUE(axis->zoomTo({5.0, 6.0}));
    EXPECT_DOUBLE_EQ(axis->displayedRange(data).minimum, 5.0);
    EXPECT_EQ(axis->range().maximum, 20.0);  // the view's range is kept
    axis->resetZoom();
    EXPECT_DOUBLE_EQ(axis->displayedRange(data).maximum, 20.0);

    ASSERT_TRUE(axis->zoomTo({5.0, 6.0}));
    axis->setRange(2.0, 22.0);  // a new range from the view ends the zoom
    EXPECT_FALSE(axis->isZoomed());
    EXPECT_DOUBLE_EQ(axis->displayedRange(data).minimum, 2.0);

    EXPECT_FALSE(axis->setRange(0.0, std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(axis->zoomTo({4.0, 4.0}));
    EXPECT_EQ(axis->range().minimum, 2.0);

    axis->setRange(5.0, 5.0);  // an empty range is widened, never divided by
    const ChartRange widened = axis->displayedRange(std::nullopt);
    EXPECT_LT(widened.minimum, 5.0);
    EXPECT_GT(widened.maximum, 5.0);
}

}  // namespace
}  // namespace sundrel::widgets
