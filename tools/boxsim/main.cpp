// sundrel-boxsim: simulated sensor boxes on pseudo-terminals, one per rail,
// for running the acquisition without a trolley.
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "boxsim/simulated_box.h"
#include "options/option_text.h"

namespace {

using sundrel::boxsim::BoxOptions;
using sundrel::boxsim::SimulatedBox;
using sundrel::frames::RailSide;
using sundrel::options::number;
using sundrel::options::OptionError;

constexpr const char* kUsage =
    "usage: sundrel-boxsim [options]\n"
    "  --left | --right | --both  which boxes to simulate (both)\n"
    "  --link DIR            symlinks DIR/left and DIR/right to the devices\n"
    "  --speed KMH           trolley speed (5)\n"
    "  --wheel MM            wheel diameter (150)\n"
    "  --pulses N            encoder pulses per wheel turn (2000)\n"
    "  --rate FPS            frames per second instead of the speed's, up to 960\n"
    "  --left-track WL:AMP[,...]   corrugations of the left rail: wavelength mm, amplitude mm\n"
    "  --right-track WL:AMP[,...]  corrugations of the right rail\n"
    "  --roughness MM        rms of random roughness on both rails (0.005)\n"
    "  --spikes-per-km N     single-reading spikes per km of each rail (0)\n"
    "  --bounce MM           vertical motion of the device (0)\n"
    "  --pitch MRAD          pitch of the device (0)\n"
    "  --seed N              seed of the random parts (1)\n"
    "  --calibration S:I,... true lines of the sensors: eight slope:intercept pairs,\n"
    "                        left 1#-4# then right 1#-4#\n"
    "  --targets MM[,...]    target distance for each calibration request in turn (3)\n"
    "  --cycle-targets       start the targets over after the last one (hold it)\n"
    "  --stray-every K       stray bytes after every K frames\n"
    "  --other-side-at S:N   S seconds into a run, N frames with the other rail's sync byte\n"
    "  --silence-at S:T      S seconds into a run, send nothing for T seconds\n"
    "  --burst-at S:N        S seconds into a run, N frames at once\n"
    "  --hangup-after S      S seconds into the first run the device disappears\n"
    "  --tee PREFIX          copy every byte sent to PREFIX-left.bin and PREFIX-right.bin\n"
    "  --seconds S           stop after S seconds (run until SIGINT, SIGTERM or quit)\n"
    "Prints 'left DEVICE' and 'right DEVICE'. Commands on standard input:\n"
    "  target SIDE SENSOR MM  move the target of sensor 1..4 of a box to MM\n"
    "  status                 print what each box has sent\n"
    "  quit                   stop\n";

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "sundrel-boxsim: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

const char* sideName(RailSide side) {
    return side == RailSide::Left ? "left" : "right";
}

// One A:B pair, e.g. the seconds and frames of a fault.
std::pair<double, double> onePair(const std::string& text, const std::string& option) {
    const auto given = sundrel::options::pairs(text, option);
    if (given.size() != 1) {
        throw OptionError(option + " takes one A:B pair");
    }
    return given.front();
}

std::size_t count(double value, const std::string& option) {
    if (!(value >= 0) || value != static_cast<double>(static_cast<std::size_t>(value))) {
        throw OptionError(option + " takes a whole number >= 0");
    }
    return static_cast<std::size_t>(value);
}

struct Settings {
    bool left = true;
    bool right = true;
    std::string linkDir;
    std::string teePrefix;
    std::optional<double> seconds;
    BoxOptions box;
};

Settings parse(const std::vector<std::string>& args) {
    Settings settings;
    BoxOptions& box = settings.box;
    box.track.lengthM = 1000;  // spikes are counted per km
    box.track.left.roughnessMm = box.track.right.roughnessMm = 0.005;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) {
                fail(arg + " needs a value");
            }
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::printf("%s", kUsage);
            std::exit(0);
        } else if (arg == "--left" || arg == "--right" || arg == "--both") {
            settings.left = arg != "--right";
            settings.right = arg != "--left";
        } else if (arg == "--link") {
            settings.linkDir = value();
        } else if (arg == "--speed") {
            box.speedKmh = number(value(), arg);
        } else if (arg == "--wheel") {
            box.wheelDiameterMm = number(value(), arg);
        } else if (arg == "--pulses") {
            box.pulsesPerTurn = static_cast<int>(count(number(value(), arg), arg));
        } else if (arg == "--rate") {
            box.rateFps = number(value(), arg);
        } else if (arg == "--left-track") {
            box.track.left.corrugations = sundrel::options::corrugations(value(), arg);
        } else if (arg == "--right-track") {
            box.track.right.corrugations = sundrel::options::corrugations(value(), arg);
        } else if (arg == "--roughness") {
            box.track.left.roughnessMm = box.track.right.roughnessMm = number(value(), arg);
        } else if (arg == "--spikes-per-km") {
            box.track.left.spikes = box.track.right.spikes =
                static_cast<int>(count(number(value(), arg), arg));
        } else if (arg == "--bounce") {
            box.track.bounceMm = number(value(), arg);
        } else if (arg == "--pitch") {
            box.track.pitchMradian = number(value(), arg);
        } else if (arg == "--seed") {
            box.track.seed = count(number(value(), arg), arg);
        } else if (arg == "--calibration") {
            box.track.calibration = sundrel::options::calibration(value(), arg);
        } else if (arg == "--targets") {
            box.targetScriptMm = sundrel::options::numbers(value(), arg);
            box.targetsMm.fill(box.targetScriptMm.front());
        } else if (arg == "--cycle-targets") {
            box.cycleTargets = true;
        } else if (arg == "--stray-every") {
            box.faults.strayEvery = count(number(value(), arg), arg);
        } else if (arg == "--other-side-at") {
            const auto [at, frames] = onePair(value(), arg);
            box.faults.otherSideAtS = at;
            box.faults.otherSideFrames = count(frames, arg);
        } else if (arg == "--silence-at") {
            const auto [at, span] = onePair(value(), arg);
            box.faults.silenceAtS = at;
            box.faults.silenceS = span;
        } else if (arg == "--burst-at") {
            const auto [at, frames] = onePair(value(), arg);
            box.faults.burstAtS = at;
            box.faults.burstFrames = count(frames, arg);
        } else if (arg == "--hangup-after") {
            box.faults.hangUpAfterS = number(value(), arg);
        } else if (arg == "--tee") {
            settings.teePrefix = value();
        } else if (arg == "--seconds") {
            settings.seconds = number(value(), arg);
        } else {
            fail("unknown option '" + arg + "'");
        }
    }
    return settings;
}

// Points DIR/NAME at the device, replacing a link left by an earlier run.
void link(const std::string& dir, const char* name, const std::string& device) {
    namespace fs = std::filesystem;
    const fs::path path = fs::path(dir) / name;
    const fs::path fresh = fs::path(dir) / (std::string(".") + name + ".new");
    fs::remove(fresh);
    fs::create_symlink(device, fresh);
    fs::rename(fresh, path);
}

void printStatus(const std::vector<std::unique_ptr<SimulatedBox>>& boxes) {
    for (const auto& box : boxes) {
        const auto c = box->counters();
        std::fprintf(stderr, "%s: %llu frames, %llu bytes, %llu starts, %llu calibrations%s\n",
                     sideName(box->side()), static_cast<unsigned long long>(c.framesSent),
                     static_cast<unsigned long long>(c.bytesSent),
                     static_cast<unsigned long long>(c.startCommands),
                     static_cast<unsigned long long>(c.calibrationRequests),
                     c.hungUp ? ", hung up" : "");
    }
}

// Carries out one line of standard input; false for quit.
bool command(const std::string& line, const std::vector<std::unique_ptr<SimulatedBox>>& boxes) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb.empty()) {
        return true;
    }
    if (verb == "quit") {
        return false;
    }
    if (verb == "status") {
        printStatus(boxes);
        return true;
    }
    std::string side;
    int sensor = 0;
    double mm = 0;
    if (verb == "target" && words >> side >> sensor >> mm && sensor >= 1 && sensor <= 4) {
        bool found = false;
        for (const auto& box : boxes) {
            if (side == sideName(box->side())) {
                box->setTarget(sensor, mm);
                found = true;
            }
        }
        if (!found) {
            std::fprintf(stderr, "sundrel-boxsim: no %s box\n", side.c_str());
        }
        return true;
    }
    std::fprintf(stderr, "sundrel-boxsim: not understood: %s\n", line.c_str());
    return true;
}

// Reads commands until quit, a signal or the time is up. Standard input
// reaching its end does not stop the boxes: started in the background it is
// /dev/null.
void serve(const std::vector<std::unique_ptr<SimulatedBox>>& boxes, int signals,
           std::optional<double> seconds) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(seconds.value_or(0)));
    bool readingInput = true;
    std::string pending;
    for (;;) {
        int timeout = -1;
        if (seconds) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
            if (left.count() <= 0) {
                return;
            }
            timeout = static_cast<int>(std::min<long long>(left.count(), 60'000));
        }
        std::array<pollfd, 2> fds = {pollfd{signals, POLLIN, 0},
                                     pollfd{readingInput ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds.data(), fds.size(), timeout) < 0) {
            continue;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            std::array<char, 512> buffer{};
            const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
            if (n <= 0) {
                readingInput = false;
                continue;
            }
            pending.append(buffer.data(), static_cast<std::size_t>(n));
            for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
                const std::string line = pending.substr(0, eol);
                pending.erase(0, eol + 1);
                if (!command(line, boxes)) {
                    return;
                }
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) try {
    const Settings settings = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (settings.seconds && !(*settings.seconds >= 0)) {
        fail("--seconds must not be negative");
    }

    // Signals arrive through a descriptor; the boxes' threads inherit the mask.
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGINT);
    sigaddset(&mask, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &mask, nullptr);
    const int signals = signalfd(-1, &mask, SFD_CLOEXEC);
    if (signals < 0) {
        std::perror("sundrel-boxsim: signalfd");
        return 1;
    }

    std::vector<std::unique_ptr<SimulatedBox>> boxes;
    for (const RailSide side : {RailSide::Left, RailSide::Right}) {
        if ((side == RailSide::Left && !settings.left) ||
            (side == RailSide::Right && !settings.right)) {
            continue;
        }
        BoxOptions options = settings.box;
        options.side = side;
        if (!settings.teePrefix.empty()) {
            options.teePath = settings.teePrefix + "-" + sideName(side) + ".bin";
        }
        boxes.push_back(std::make_unique<SimulatedBox>(std::move(options)));
        if (!settings.linkDir.empty()) {
            link(settings.linkDir, sideName(side), boxes.back()->devicePath());
        }
        std::printf("%s %s\n", sideName(side), boxes.back()->devicePath().c_str());
        std::fflush(stdout);
    }

    serve(boxes, signals, settings.seconds);

    for (const auto& box : boxes) {
        box->stop();
        if (!settings.linkDir.empty()) {
            std::error_code ignored;
            std::filesystem::remove(std::filesystem::path(settings.linkDir) / sideName(box->side()),
                                    ignored);
        }
    }
    printStatus(boxes);
    return 0;
} catch (const OptionError& error) {
    fail(error.what());
} catch (const std::exception& error) {
    std::fprintf(stderr, "sundrel-boxsim: %s\n", error.what());
    return 1;
}
