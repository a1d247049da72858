#pragma once

#include <cstdint>

#include "core/panel_codes.h"
#include "core/panel_messenger.h"
#include "kestova/kestova.h"

namespace sundrel::core {

// Makes a registered panel the window the analysis engine delivers to: give
// handle() to SetWnd, and every engine message reaches that panel's handler
// synchronously, inside the Analyse call.
class EngineHostWindow {
public:
    EngineHostWindow(PanelMessenger& messenger, PanelSlot slot)
        : messenger_(messenger), slot_(slot) {}
    EngineHostWindow(const EngineHostWindow&) = delete;
    EngineHostWindow& operator=(const EngineHostWindow&) = delete;

    KestovaHostWindow* handle() { return &window_; }

private:
    static std::intptr_t sendMessage(KestovaHostWindow* window, std::uint32_t message,
                                     std::uintptr_t wparam, std::intptr_t lparam);

    PanelMessenger& messenger_;
    PanelSlot slot_;
    KestovaHostWindow window_{&EngineHostWindow::sendMessage, this};
};

}  // namespace sundrel::core
