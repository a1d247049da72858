#include "core/engine_host_window.h"

#include <gtest/gtest.h>

#include "test_support/scratch_folder.h"

#include <filesystem>
#include <vector>

#include "core/panel_registry.h"
#include "kestova/kestova.h"
#include "synth/recording_synth.h"

namespace sundrel::core {
namespace {

class CodeRecorder : public Panel {
public:
    std::vector<std::uintptr_t> codes;
    std::vector<std::intptr_t> lparams;
    void handlePanelMessage(const PanelMessage& message, std::intptr_t lparam) override {
        codes.push_back(message.code);
        lparams.push_back(lparam);
    }
};

// The engine's messages reach the registered panel inside the Analyse call.
TEST(EngineHostWindow, DeliversEngineMessagesToItsPanelSynchronously) {
    const sundrel::testing::ScratchFolder scratch;
    const auto& folder = scratch.path();
    synth::RecordingPlan plan;
    plan.lengthM = 30;
    plan.startTime = "20261210120000";
    const auto pair = synth::writeRecordingPair(plan, folder.string());

    PanelRegistry registry;
    PanelMessenger messenger(registry);
    CodeRecorder panel;
    ASSERT_TRUE(registry.registerPanel(PanelSlot::AnalysisControl, &panel));
    EngineHostWindow host(messenger, PanelSlot::AnalysisControl);
    SetWnd(host.handle());
    ASSERT_EQ(Analyse(pair.rightPath.c_str(), 0.1, 0.1, 0.1, 0.1), 0);
    SetWnd(nullptr);
    EXPECT_EQ(panel.codes, (std::vector<std::uintptr_t>{13, 12, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(panel.lparams, (std::vector<std::intptr_t>{0, 2, 2, 2, 2, 2, 2, 0}));
}

}  // namespace
}  // namespace sundrel::core
