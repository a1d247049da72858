// The library's three exported functions and the order of one analysis.
#include <array>
#include <cmath>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "band_filter.h"
#include "band_kernels.h"
#include "engine_state.h"
#include "kestova/kestova.h"
#include "peak_evaluation.h"
#include "profile_reconstruction.h"
#include "raw_file_reader.h"
#include "spike_filter.h"

namespace kestova {

void EngineState::resetRun() {
    startPosition = endPosition = 0;
    forward = hasTrailer = 0;
    side = 0;
    fileSize = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        slope[k] = intercept[k] = 0;
    }
    samples = {};
    distances = {};
    sampleCount = 0;
}

EngineState& engineState() {
    static EngineState state;
    return state;
}

namespace {

// Unloading the library leaves no window or callback behind.
struct ClearOnUnload {
    ~ClearOnUnload() {
        engineState().hostWindow = nullptr;
        engineState().notifyCallback = nullptr;
    }
} clearOnUnload;

template <typename T>
uintptr_t word(const T* pointer) {
    return reinterpret_cast<uintptr_t>(pointer);
}

void send(uintptr_t code, uintptr_t data, uintptr_t axis, uintptr_t count, intptr_t lparam) {
    KestovaHostWindow* window = engineState().hostWindow;
    if (window == nullptr || window->sendMessage == nullptr) {
        return;
    }
    PanelMessage message{code, data, axis, count};
    window->sendMessage(window, KESTOVA_WM_PANEL_MESSAGE, word(&message), lparam);
}

bool isValidLimit(double limit) {
    return limit >= 0.0 && limit <= 1.0;
}  // false for NaN

int analyse(const std::string& path, const std::array<double, kBandCount>& limits) {
    for (double limit : limits) {
        if (!isValidLimit(limit)) {
            return KESTOVA_BAD_LIMIT;
        }
    }
    EngineState& state = engineState();
    state.resetRun();

    RawFileFacts facts;
    if (const int status = checkRawFile(path, facts); status != KESTOVA_OK) {
        return status;
    }
    state.startPosition = facts.startPosition;
    state.endPosition = facts.endPosition;
    state.forward = facts.forward;
    state.hasTrailer = facts.hasTrailer ? 1 : 0;
    state.side = facts.side;
    state.fileSize = facts.fileSize;
    for (std::size_t k = 0; k < 4; ++k) {
        state.slope[k] = facts.slope[k];
        state.intercept[k] = facts.intercept[k];
    }
    send(KESTOVA_CODE_FILE_INFO, word(&facts.info), 0, 0, 0);

    state.samples = loadSamples(path, facts);
    const std::size_t n = state.samples.size();
    state.sampleCount = n;
    state.distances = buildDistanceAxis(state.startPosition, state.endPosition, n);

    removeSpikes(state.samples);
    if (n >= kMinimumInversionLength) {
        if (!state.transform || state.transform->size() != n) {
            state.transform.reset();  // one transform in memory at a time
            state.transform = std::make_unique<RealDft>(n);
        }
        reconstructProfile(state.samples, *state.transform);
    }
    const intptr_t side = state.side;
    send(KESTOVA_CODE_PROFILE, word(state.samples.data()), word(state.distances.data()), n, side);

    std::array<std::vector<double>, kBandCount> bands;
    for (std::size_t b = 0; b < kBandCount; ++b) {
        bands[b].resize(n);
        applyBandFilter(kBandKernels[b].taps, state.samples, bands[b]);
        send(KESTOVA_CODE_BAND_30_100 + b, word(bands[b].data()), word(state.distances.data()), n,
             side);
    }

    std::array<double, kBandCount> ratios{};
    for (std::size_t b = 0; b < kBandCount; ++b) {
        ratios[b] = exceedRatio(bands[b], limits[b]);
    }
    const std::array<double, kBandCount> bandNumbers = {1.0, 2.0, 3.0, 4.0};
    send(KESTOVA_CODE_EXCEED_RATIOS, word(ratios.data()), word(bandNumbers.data()), kBandCount,
         side);

    {
        const std::vector<SectionRecord> records = evaluateSections(
            state.distances, {bands[0], bands[1], bands[2], bands[3]}, state.side, limits);
        send(KESTOVA_CODE_SECTIONS, word(records.data()), 0, records.size(), 0);
    }

    state.samples = {};
    state.distances = {};
    return KESTOVA_OK;
}

}  // namespace
}  // namespace kestova

extern "C" {

KESTOVA_API int SetWnd(KestovaHostWindow* window) {
    kestova::engineState().hostWindow = window;
    return 0;
}

KESTOVA_API int RegisterMessgaeFun(void (*callback)(void)) {
    auto& state = kestova::engineState();
    if (state.notifyCallback != nullptr) {
        return 1;
    }
    state.notifyCallback = callback;
    return 0;
}

KESTOVA_API int Analyse(const char* path, double dTh30_100, double dTh100_300, double dTh300_1000,
                        double dTh1000_3000) {
    // No exception leaves the library: a record too large for memory ends
    // the call with its own code.
    try {
        return kestova::analyse(path ? path : "",
                                {dTh30_100, dTh100_300, dTh300_1000, dTh1000_3000});
    } catch (const std::bad_alloc&) {
        kestova::engineState().resetRun();
        kestova::engineState().transform.reset();
        return KESTOVA_OUT_OF_MEMORY;
    } catch (...) {
        kestova::engineState().resetRun();
        return KESTOVA_CANNOT_OPEN;
    }
}

}  // extern "C"
