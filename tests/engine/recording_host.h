#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "kestova/kestova.h"

namespace kestova::testing {

// A host window that keeps a copy of every message it is sent, as a host
// must: payloads are valid only while the message is being handled.
class RecordingHost {
public:
    struct Received {
        uintptr_t code;
        intptr_t lparam;
        uintptr_t count;
        bool axisIsNull;
        std::vector<double> data;  // codes 12 and 14 to 18
        std::vector<double> axis;
        AnalysisInfoBlock info{};             // code 13
        std::vector<SectionRecord> sections;  // code 19
    };

    RecordingHost() { SetWnd(&window_); }
    ~RecordingHost() { SetWnd(nullptr); }
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    std::vector<Received> messages;

    std::vector<uintptr_t> codes() const {
        std::vector<uintptr_t> result;
        for (const auto& m : messages) {
            result.push_back(m.code);
        }
        return result;
    }
    const Received& withCode(uintptr_t code) const {
        for (const auto& m : messages) {
            if (m.code == code) {
                return m;
            }
        }
        static const Received none{};
        return none;
    }

private:
    static intptr_t deliver(KestovaHostWindow* window, uint32_t message, uintptr_t wparam,
                            intptr_t lparam) {
        auto* self = static_cast<RecordingHost*>(window->context);
        if (message == KESTOVA_WM_PANEL_MESSAGE) {
            self->record(*reinterpret_cast<const PanelMessage*>(wparam), lparam);
        }
        return 0;
    }

    void record(const PanelMessage& message, intptr_t lparam) {
        Received r{message.code, lparam, message.count, message.axis == 0, {}, {}, {}, {}};
        const auto* data = reinterpret_cast<const double*>(message.data);
        const auto* axis = reinterpret_cast<const double*>(message.axis);
        if (message.code == KESTOVA_CODE_FILE_INFO) {
            std::memcpy(&r.info, reinterpret_cast<const void*>(message.data), sizeof r.info);
        } else if (message.code == KESTOVA_CODE_SECTIONS) {
            const auto* records = reinterpret_cast<const SectionRecord*>(message.data);
            r.sections.assign(records, records + message.count);
        } else if (message.count > 0) {
            r.data.assign(data, data + message.count);
            r.axis.assign(axis, axis + message.count);
        }
        messages.push_back(std::move(r));
    }

    KestovaHostWindow window_{&RecordingHost::deliver, this};
};

}  // namespace kestova::testing
