#pragma once

#include "acquisition/channel_host.h"
#include "core/panel_messenger.h"

class QWidget;

namespace sundrel::acquisition {

// The windows as a channel's host: batches go synchronously to the real-time
// view (slot 18), progress is queued for the measurement panel (slot 19) as a
// copy of the record, stops wait through the messenger's delivering wait, and
// faults become warning boxes (caption "error") on the window thread without
// holding up the worker.
class WindowChannelHost : public ChannelHost {
public:
    WindowChannelHost(core::PanelMessenger& messenger, QWidget* dialogParent)
        : messenger_(messenger), dialogParent_(dialogParent) {}

    void deliverBatch(const PanelMessage& message, std::intptr_t side) override;
    void postProgress(const PanelMessage& message) override;
    void waitDelivering(const std::function<bool()>& finished) override;
    void reportFault(std::string_view text) override;

private:
    core::PanelMessenger& messenger_;
    QWidget* dialogParent_;
};

}  // namespace sundrel::acquisition
