// The analysis page driven without clicks: a tab by its letter, a stretch
// of track across every waveform view.
#include <gtest/gtest.h>

#include <QTabBar>
#include <QTabWidget>
#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>

#include "analysis/ui/analyse_dlg.h"
#include "analysis/ui/waveform_view.h"
#include "test_support/fake_panel_context.h"
#include "widgets/chart_axis.h"
#include "widgets/chart_ctrl.h"

namespace sundrel::analysis {
namespace {

using core::PanelSlot;

class AnalysisPageTest : public ::testing::Test {
protected:
    WaveformView* waveform(PanelSlot slot) const {
        return dynamic_cast<WaveformView*>(page_.view(slot));
    }
    widgets::ChartRange bottomRange(PanelSlot slot) const {
        return waveform(slot)->chart()->axis(widgets::ChartAxisSlot::Bottom)->range();
    }

    sundrel::testing::FakePanelContext fake_;
    CAnalyseDlg page_{fake_.context};
};

TEST_F(AnalysisPageTest, TabsAreChosenByTheLetterOfTheirLabel) {
    EXPECT_EQ(analysisTabLetters(), "ACDEFGHI");
    struct Case {
        char letter;
        PanelSlot view;
    };
    for (const Case c :
         {Case{'E', PanelSlot::Band300To1000View}, Case{'A', PanelSlot::RawWaveformView},
          Case{'I', PanelSlot::DetailedReport}, Case{'H', PanelSlot::EvaluationView},
          Case{'G', PanelSlot::TrackHighLowView}}) {
        EXPECT_TRUE(page_.showTab(QChar(c.letter))) << c.letter;
        EXPECT_EQ(page_.tabs()->currentWidget(), page_.view(c.view)) << c.letter;
    }
    // The letter follows the view, wherever its tab was dragged.
    page_.tabs()->tabBar()->moveTab(7, 0);
    EXPECT_TRUE(page_.showTab(QChar('C')));
    EXPECT_EQ(page_.tabs()->currentWidget(), page_.view(PanelSlot::Band30To100View));
    for (const char letter : {'B', 'J', 'a', ' '}) {
        EXPECT_FALSE(page_.showTab(QChar(letter))) << letter;
        EXPECT_EQ(page_.tabs()->currentWidget(), page_.view(PanelSlot::Band30To100View));
    }
}

TEST_F(AnalysisPageTest, ARangeReachesEveryWaveformView) {
    const std::array<PanelSlot, 7> waveforms = {
        PanelSlot::RawWaveformView,  PanelSlot::UntabbedWaveformView, PanelSlot::Band30To100View,
        PanelSlot::Band100To300View, PanelSlot::Band300To1000View,    PanelSlot::Band1000To3000View,
        PanelSlot::TrackHighLowView};
    page_.setVisibleRange(35500.0, 35620.5);
    for (const PanelSlot slot : waveforms) {
        ASSERT_NE(waveform(slot), nullptr);
        EXPECT_EQ(bottomRange(slot).minimum, 35500.0) << static_cast<int>(slot);
        EXPECT_EQ(bottomRange(slot).maximum, 35620.5) << static_cast<int>(slot);
    }
    // Ranges a view cannot show change nothing.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [from, to] : std::initializer_list<std::pair<double, double>>{
             {200.0, 100.0}, {100.0, 100.0}, {nan, 100.0}, {0.0, HUGE_VAL}}) {
        waveform(PanelSlot::Band30To100View)->setVisibleRange(from, to);
        EXPECT_EQ(bottomRange(PanelSlot::Band30To100View).minimum, 35500.0) << from << " " << to;
        EXPECT_EQ(bottomRange(PanelSlot::Band30To100View).maximum, 35620.5) << from << " " << to;
    }
}

}  // namespace
}  // namespace sundrel::analysis
