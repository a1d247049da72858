#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "core/panel.h"
#include "core/panel_codes.h"
#include "core/panel_registry.h"

namespace sundrel::core {

// Delivers panel messages to the windows of a registry, always on the window
// thread (the thread the messenger was created on).
//
// A synchronous send from another thread (an acquisition worker, the serial
// callback) waits until the window thread has handled the record, so the
// record and what it points at need no copy. When the window thread must wait
// for such a thread to finish (a stop that joins a worker), it waits through
// waitDelivering(), which keeps handling the sends that arrive meanwhile: a
// worker delivering a batch can always finish, and the stop never deadlocks.
class PanelMessenger : public QObject {
    Q_OBJECT
public:
    explicit PanelMessenger(PanelRegistry& registry, QObject* parent = nullptr);
    ~PanelMessenger() override;

    // The program's messenger, when one exists (the first one created).
    static PanelMessenger* global();

    // Synchronous: returns when the receiver of `slot` has handled the record
    // (at once when the slot is empty, or after shutdown()).
    void send(PanelSlot slot, const PanelMessage& record, std::intptr_t lparam = 0);

    // Queued: handled later on the window thread. The record stays the
    // sender's and must stay valid until then; it is read when handled.
    void post(PanelSlot slot, const PanelMessage* record, std::intptr_t lparam = 0);

    // Window thread: handles sends from other threads until `finished`
    // returns true. `finished` is checked after each round of deliveries and
    // at least every 2 ms.
    void waitDelivering(const std::function<bool()>& finished);

    // Releases every waiting sender without delivering and makes later sends
    // from other threads return at once. For the end of the program.
    void shutdown();

    bool isWindowThread() const;
    PanelRegistry& registry() { return registry_; }

private:
    struct PendingSend {
        PanelSlot slot;
        const PanelMessage* record;
        std::intptr_t lparam;
        bool done = false;
    };

    void deliver(PanelSlot slot, const PanelMessage& record, std::intptr_t lparam);
    void deliverPendingSends();

    PanelRegistry& registry_;
    std::mutex mutex_;
    std::condition_variable handled_;  // a pending send was done
    std::condition_variable arrived_;  // a pending send was queued
    std::deque<PendingSend*> pending_;
    bool closed_ = false;
};

// The program's sends and posts, through the global messenger.
void sendPanelMessage(PanelSlot slot, const PanelMessage& record, std::intptr_t lparam = 0);
void postPanelMessage(PanelSlot slot, const PanelMessage* record, std::intptr_t lparam = 0);

}  // namespace sundrel::core
