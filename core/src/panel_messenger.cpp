#include "core/panel_messenger.h"

#include <QThread>
#include <atomic>
#include <chrono>

namespace sundrel::core {
namespace {

std::atomic<PanelMessenger*> globalMessenger{nullptr};

}  // namespace

PanelMessenger::PanelMessenger(PanelRegistry& registry, QObject* parent)
    : QObject(parent), registry_(registry) {
    PanelMessenger* none = nullptr;
    globalMessenger.compare_exchange_strong(none, this);
}

PanelMessenger::~PanelMessenger() {
    shutdown();
    PanelMessenger* self = this;
    globalMessenger.compare_exchange_strong(self, nullptr);
}

PanelMessenger* PanelMessenger::global() {
    return globalMessenger.load();
}

bool PanelMessenger::isWindowThread() const {
    return QThread::currentThread() == thread();
}

void PanelMessenger::deliver(PanelSlot slot, const PanelMessage& record, std::intptr_t lparam) {
    if (PanelReceiver* receiver = registry_.lookup(slot)) {
        receiver->handlePanelMessage(record, lparam);
    }
}

void PanelMessenger::send(PanelSlot slot, const PanelMessage& record, std::intptr_t lparam) {
    if (isWindowThread()) {
        deliver(slot, record, lparam);
        return;
    }
    PendingSend pending{slot, &record, lparam};
    {
        std::lock_guard lock(mutex_);
        if (closed_) {
            return;
        }
        pending_.push_back(&pending);
    }
    arrived_.notify_all();
    QMetaObject::invokeMethod(this, &PanelMessenger::deliverPendingSends, Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    handled_.wait(lock, [&] { return pending.done; });
}

void PanelMessenger::post(PanelSlot slot, const PanelMessage* record, std::intptr_t lparam) {
    QMetaObject::invokeMethod(
        this, [this, slot, record, lparam] { deliver(slot, *record, lparam); },
        Qt::QueuedConnection);
}

void PanelMessenger::deliverPendingSends() {
    for (;;) {
        PendingSend* next = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) {
                return;
            }
            next = pending_.front();
            pending_.pop_front();
        }
        deliver(next->slot, *next->record, next->lparam);
        {
            std::lock_guard lock(mutex_);
            next->done = true;
        }
        handled_.notify_all();
    }
}

void PanelMessenger::waitDelivering(const std::function<bool()>& finished) {
    for (;;) {
        deliverPendingSends();
        if (finished()) {
            return;
        }
        std::unique_lock lock(mutex_);
        arrived_.wait_for(lock, std::chrono::milliseconds(2), [&] { return !pending_.empty(); });
    }
}

void PanelMessenger::shutdown() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        for (PendingSend* pending : pending_) {
            pending->done = true;
        }
        pending_.clear();
    }
    handled_.notify_all();
}

void sendPanelMessage(PanelSlot slot, const PanelMessage& record, std::intptr_t lparam) {
    if (PanelMessenger* messenger = PanelMessenger::global()) {
        messenger->send(slot, record, lparam);
    }
}

void postPanelMessage(PanelSlot slot, const PanelMessage* record, std::intptr_t lparam) {
    if (PanelMessenger* messenger = PanelMessenger::global()) {
        messenger->post(slot, record, lparam);
    }
}

}  // namespace sundrel::core
