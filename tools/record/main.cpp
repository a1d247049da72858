// sundrel-record: records a run of both rails with the program's acquisition
// channels, without windows: for tests, soak runs and crews who record from a
// computer without a screen.
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "acquisition/acquisition_channel.h"
#include "acquisition/port_devices.h"
#include "acquisition/raw_file_naming.h"
#include "acquisition/run_headers.h"
#include "core/settings_file.h"
#include "core/settings_record.h"
#include "kestova/km_post.h"
#include "options/option_text.h"

namespace {

using namespace sundrel;
using acquisition::StatusCode;

constexpr const char* kUsage =
    "usage: sundrel-record [options]\n"
    "  --config FILE         settings (./config.ini): line, pulses per frame, batch size,\n"
    "                        distance per frame, calibration, [PORT_DEVICES]\n"
    "  --left PORT           left box: a port number (3, COM3) or a device path (nPortLeft)\n"
    "  --right PORT          right box (nPortRight)\n"
    "  --folder DIR          where the files go (chFilePath, else the working folder)\n"
    "  --seconds S           stop after S seconds (run until SIGINT or SIGTERM)\n"
    "  --position M          km-post position at the start, metres (0)\n"
    "  --backward            km-post values fall along the run\n"
    "  --end-position M      km-post position at the stop (start +- frames x distance)\n"
    "  --line TEXT  --department TEXT  --staff TEXT   run information (UTF-8)\n"
    "  --left-name NAME  --right-name NAME            file names (<time>_left.raw ...)\n";

[[noreturn]] void usage(const std::string& message) {
    std::fprintf(stderr, "sundrel-record: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

struct Options {
    std::string config = core::kConfigPath;
    std::string left;
    std::string right;
    std::string folder;
    double seconds = 0;  // 0: until a signal
    double position = 0;
    bool backward = false;
    bool hasEndPosition = false;
    double endPosition = 0;
    std::string line, department, staff, leftName, rightName;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                usage(arg + " needs a value");
            }
            return argv[++i];
        };
        try {
            if (arg == "--config") {
                o.config = value();
            } else if (arg == "--left") {
                o.left = value();
            } else if (arg == "--right") {
                o.right = value();
            } else if (arg == "--folder") {
                o.folder = value();
            } else if (arg == "--seconds") {
                o.seconds = options::number(value(), arg);
            } else if (arg == "--position") {
                o.position = options::number(value(), arg);
            } else if (arg == "--backward") {
                o.backward = true;
            } else if (arg == "--end-position") {
                o.endPosition = options::number(value(), arg);
                o.hasEndPosition = true;
            } else if (arg == "--line") {
                o.line = value();
            } else if (arg == "--department") {
                o.department = value();
            } else if (arg == "--staff") {
                o.staff = value();
            } else if (arg == "--left-name") {
                o.leftName = value();
            } else if (arg == "--right-name") {
                o.rightName = value();
            } else if (arg == "--help" || arg == "-h") {
                std::fputs(kUsage, stdout);
                std::exit(0);
            } else {
                usage("unknown option " + arg);
            }
        } catch (const options::OptionError& error) {
            usage(error.what());
        }
    }
    return o;
}

// The recorder's host: deliveries count the bytes per second; faults go to
// standard error at once, once per kind and side.
class RecorderHost : public acquisition::ChannelHost {
public:
    explicit RecorderHost(const char* side) : side_(side) {}

    void deliverBatch(const PanelMessage& message, std::intptr_t) override {
        frames_.fetch_add(message.count / 12);
    }
    void postProgress(const PanelMessage&) override {}
    void waitDelivering(const std::function<bool()>& finished) override {
        while (!finished()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void reportFault(std::string_view text) override {
        std::lock_guard lock(mutex_);
        std::fprintf(stderr, "sundrel-record: %s side: %.*s\n", side_,
                     static_cast<int>(text.size()), text.data());
        faulted_ = true;
    }

    std::uint64_t takeFrames() { return frames_.exchange(0); }
    bool faulted() {
        std::lock_guard lock(mutex_);
        return faulted_;
    }

private:
    const char* side_;
    std::atomic<std::uint64_t> frames_{0};
    std::mutex mutex_;
    bool faulted_ = false;
};

std::atomic<bool> stopSignalled{false};

extern "C" void onSignal(int) {
    stopSignalled.store(true);
}

std::string nowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return acquisition::timestampText(local);
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    if (!std::filesystem::exists(options.config)) {
        std::fprintf(stderr, "sundrel-record: cannot read the settings %s\n",
                     options.config.c_str());
        return 2;
    }
    core::SettingsRecord settings{};
    if (core::loadSettings(settings, options.config) != StatusCode::Success &&
        options.left.empty()) {
        std::fprintf(stderr, "sundrel-record: %s has no left port (nPortLeft); give --left\n",
                     options.config.c_str());
        return 2;
    }

    acquisition::RunSetup setup;
    const std::string leftText =
        options.left.empty() ? std::to_string(settings.nPortLeft) : options.left;
    const std::string rightText =
        options.right.empty() ? std::to_string(settings.nPortRight) : options.right;
    setup.leftPort = acquisition::portNumberOf(leftText);
    setup.rightPort = acquisition::portNumberOf(rightText);
    setup.baud = settings.nBaud;
    setup.parity = settings.chParity;
    setup.dataBits = settings.nDatabits;
    setup.stopBits = settings.nStopbits;
    setup.collectionCommand = settings.nCollectionCommand;
    setup.dataBytesTrigger = settings.nDataBytesTrigger;
    setup.forward = !options.backward;
    setup.positionM = options.position;
    setup.folder = options.folder.empty() ? std::string(settings.chFilePath) : options.folder;
    if (setup.folder == "0") {
        setup.folder.clear();  // a missing key reads as "0"
    }
    setup.leftName = options.leftName;
    setup.rightName = options.rightName;
    setup.lineName = options.line;
    setup.department = options.department;
    setup.staffName = options.staff;
    if (!setup.folder.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(setup.folder, ignored);
    }
    acquisition::RunHeaders headers = acquisition::makeRunHeaders(setup, nowText());
    core::copyEncoderAndCalibration(settings, headers.left);
    core::copyEncoderAndCalibration(settings, headers.right);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    RecorderHost leftHost("left");
    RecorderHost rightHost("right");
    acquisition::AcquisitionChannel left(leftHost);
    acquisition::AcquisitionChannel right(rightHost);
    const StatusCode leftStarted =
        left.startChannel(headers.left, acquisition::devicePathOf(leftText, options.config));
    if (leftStarted != StatusCode::Success) {
        std::fprintf(stderr, "sundrel-record: left side: %s\n",
                     std::string(acquisition::statusText(leftStarted)).c_str());
        return 1;
    }
    const StatusCode rightStarted =
        right.startChannel(headers.right, acquisition::devicePathOf(rightText, options.config));
    if (rightStarted != StatusCode::Success) {
        std::fprintf(stderr, "sundrel-record: right side: %s (recording the left rail alone)\n",
                     std::string(acquisition::statusText(rightStarted)).c_str());
    }

    const double metresPerFrame = settings.dEncoder;
    const auto begin = std::chrono::steady_clock::now();
    auto lastLine = begin;
    std::uint32_t leftBytes = 0;
    std::uint32_t rightBytes = 0;
    while (!stopSignalled.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const auto now = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(now - begin).count();
        if (options.seconds > 0 && elapsed >= options.seconds) {
            break;
        }
        const double sinceLine = std::chrono::duration<double>(now - lastLine).count();
        if (sinceLine >= 1.0) {
            const std::uint32_t l = left.dataByteCount();
            const std::uint32_t r = right.dataByteCount();
            const double travelled = (l / 12) * metresPerFrame;
            const double at =
                setup.forward ? setup.positionM + travelled : setup.positionM - travelled;
            std::printf("%s  left %u bytes %.0f frames/s  right %u bytes %.0f frames/s\n",
                        kestova::positionText(kestova::truncatedInt(at)).c_str(), l,
                        (l - leftBytes) / 12.0 / sinceLine, r, (r - rightBytes) / 12.0 / sinceLine);
            std::fflush(stdout);
            leftBytes = l;
            rightBytes = r;
            lastLine = now;
        }
    }

    const double frames = std::floor(left.dataByteCount() / 12.0);
    const double endPosition = options.hasEndPosition
                                   ? options.endPosition
                                   : (setup.forward ? setup.positionM + frames * metresPerFrame
                                                    : setup.positionM - frames * metresPerFrame);
    const StatusCode leftStopped = left.stopChannel(endPosition);
    const StatusCode rightStopped = right.stopChannel(endPosition);
    std::printf("%s %u\n", left.filePath().c_str(), left.record().dataByteCount);
    if (rightStarted == StatusCode::Success) {
        std::printf("%s %u\n", right.filePath().c_str(), right.record().dataByteCount);
    }
    const bool clean = rightStarted == StatusCode::Success && leftStopped == StatusCode::Success &&
                       rightStopped == StatusCode::Success && !leftHost.faulted() &&
                       !rightHost.faulted();
    return clean ? 0 : 1;
}
