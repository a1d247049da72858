#include "core/panel_registry.h"

namespace sundrel::core {

PanelRegistry& PanelRegistry::global() {
    static PanelRegistry registry;
    return registry;
}

const PanelRegistry::Entry* PanelRegistry::entry(PanelSlot slot) const {
    const int index = static_cast<int>(slot) - kFirstPanelSlot;
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        return nullptr;
    }
    return &entries_[static_cast<std::size_t>(index)];
}

bool PanelRegistry::registerPanel(PanelSlot slot, QObject* object, PanelReceiver* receiver) {
    auto* found = const_cast<Entry*>(entry(slot));
    if (found == nullptr || found->filled || object == nullptr || receiver == nullptr) {
        return false;
    }
    found->object = object;
    found->receiver = receiver;
    found->filled = true;
    return true;
}

PanelReceiver* PanelRegistry::lookup(PanelSlot slot) const {
    const Entry* found = entry(slot);
    return found != nullptr && found->object ? found->receiver : nullptr;
}

QObject* PanelRegistry::object(PanelSlot slot) const {
    const Entry* found = entry(slot);
    return found != nullptr ? found->object.data() : nullptr;
}

}  // namespace sundrel::core
