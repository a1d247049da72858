// The windows as a channel's host: a worker's batches reach the real-time
// view while the window thread waits for it, and progress arrives as posted.
#include "acquisition/ui/window_channel_host.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <thread>
#include <vector>

#include "core/panel.h"
#include "core/panel_registry.h"

namespace sundrel::acquisition {
namespace {

class RecordingPanel : public core::Panel {
public:
    void handlePanelMessage(const core::PanelMessage& message, std::intptr_t lparam) override {
        codes.push_back(message.code);
        data.push_back(message.code == 4 ? *reinterpret_cast<const int*>(message.data)
                                         : static_cast<int>(message.data));
        lparams.push_back(lparam);
    }
    std::vector<std::uintptr_t> codes;
    std::vector<int> data;
    std::vector<std::intptr_t> lparams;
};

TEST(WindowChannelHost, BatchesReachTheViewDuringAStopAndProgressAsPosted) {
    core::PanelRegistry registry;
    core::PanelMessenger messenger(registry);
    RecordingPanel view;
    RecordingPanel panel;
    registry.registerPanel(core::PanelSlot::RealTimeView, &view);
    registry.registerPanel(core::PanelSlot::MeasureControl, &panel);
    WindowChannelHost host(messenger, nullptr);

    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int batch = 1; batch <= 3; ++batch) {
            const PanelMessage message{4, reinterpret_cast<std::uintptr_t>(&batch), 0, 4};
            host.deliverBatch(message, 2);  // returns once the view has read it
            PanelMessage progress{6, static_cast<std::uintptr_t>(batch * 1200), 0, 0};
            host.postProgress(progress);
            progress.data = 0;  // the worker's record changes; the post keeps its copy
        }
        done.store(true);
    });
    host.waitDelivering([&] { return done.load(); });
    worker.join();
    EXPECT_EQ(view.data, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(view.lparams, (std::vector<std::intptr_t>{2, 2, 2}));
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.data, (std::vector<int>{1200, 2400, 3600}));
}

}  // namespace
}  // namespace sundrel::acquisition
