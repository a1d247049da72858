#pragma once

#include <QObject>
#include <QPointer>
#include <array>

#include "core/panel.h"
#include "core/panel_codes.h"

namespace sundrel::core {

// The table of windows by slot. A slot is filled once, when its window is
// created, and never replaced. Used on the window thread only: other threads
// name a slot and the window thread looks it up when it delivers.
class PanelRegistry {
public:
    // The program's registry.
    static PanelRegistry& global();

    // Stores the window of a slot. Returns false, storing nothing, for a slot
    // outside 11..32 or one already filled.
    bool registerPanel(PanelSlot slot, QObject* object, PanelReceiver* receiver);

    template <typename Window>
    bool registerPanel(PanelSlot slot, Window* window) {
        return registerPanel(slot, window, window);
    }

    // The receiver of a slot, or nullptr when the slot is empty, out of
    // range, or its window no longer exists.
    PanelReceiver* lookup(PanelSlot slot) const;
    QObject* object(PanelSlot slot) const;

private:
    struct Entry {
        QPointer<QObject> object;
        PanelReceiver* receiver = nullptr;
        bool filled = false;
    };
    const Entry* entry(PanelSlot slot) const;

    std::array<Entry, kLastPanelSlot - kFirstPanelSlot + 1> entries_;
};

}  // namespace sundrel::core
