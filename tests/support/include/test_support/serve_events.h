#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <thread>

namespace sundrel::testing {

// The window thread's part while workers or serial callbacks deliver to it:
// handles queued deliveries until the condition holds (false after `limit`).
inline bool serveUntil(const std::function<bool()>& condition,
                       std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Handles queued deliveries for a while, as the window thread does during a run.
inline void serveFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    serveUntil([&] { return std::chrono::steady_clock::now() >= end; });
}

}  // namespace sundrel::testing
