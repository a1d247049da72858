#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "kestova/kestova.h"

namespace sundrel::acquisition {

// Where an acquisition channel's worker hands its data, and how the thread
// that starts and stops channels waits for a worker. The program's host
// delivers to its windows through the panel messenger; a recorder without
// windows, or a test, brings its own.
class ChannelHost {
public:
    virtual ~ChannelHost() = default;

    // Code 4, from the worker thread: returns when the batch has been handled
    // (the bytes stay valid until then). lparam is the channel's rail side.
    virtual void deliverBatch(const PanelMessage& message, std::intptr_t side) = 0;

    // Code 6, from the worker thread, queued: data = the bytes the channel
    // has delivered since its start. The host keeps its own copy.
    virtual void postProgress(const PanelMessage& message) = 0;

    // On the thread that starts and stops the channels: returns once
    // `finished` is true, serving the worker's deliveries meanwhile, so a
    // worker inside deliverBatch can always finish.
    virtual void waitDelivering(const std::function<bool()>& finished) = 0;

    // From the worker thread, without waiting for the operator: a fault the
    // operator must see ("connect error", "write file error").
    virtual void reportFault(std::string_view text) = 0;

protected:
    ChannelHost() = default;
    ChannelHost(const ChannelHost&) = default;
    ChannelHost& operator=(const ChannelHost&) = default;
};

}  // namespace sundrel::acquisition
