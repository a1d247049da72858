#include "core/engine_host_window.h"

namespace sundrel::core {

std::intptr_t EngineHostWindow::sendMessage(KestovaHostWindow* window, std::uint32_t message,
                                            std::uintptr_t wparam, std::intptr_t lparam) {
    auto* self = static_cast<EngineHostWindow*>(window->context);
    if (message == kPanelMessageId && wparam != 0) {
        self->messenger_.send(self->slot_, *reinterpret_cast<const PanelMessage*>(wparam), lparam);
    }
    return 0;
}

}  // namespace sundrel::core
