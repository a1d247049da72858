// sundrel-synth: writes a recording pair (left and right raw data file) of a
// synthetic track, for tests, benchmarks and demonstrations.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "options/option_text.h"
#include "synth/recording_synth.h"

namespace {

using sundrel::options::corrugations;
using sundrel::options::number;
using sundrel::options::OptionError;
using sundrel::synth::RecordingPlan;

constexpr const char* kUsage =
    "usage: sundrel-synth [options] FOLDER\n"
    "  --length M            travelled distance in metres (1000)\n"
    "  --step M              distance per frame in metres (0.02)\n"
    "  --start M             km-post position of the first frame in metres (0)\n"
    "  --backward            km-post values fall along the run\n"
    "  --no-trailer          the run was not stopped properly: no trailer\n"
    "  --left WL:AMP[,...]   corrugations of the left rail: wavelength mm, amplitude mm\n"
    "  --right WL:AMP[,...]  corrugations of the right rail\n"
    "  --roughness MM        rms of random roughness on both rails (0.005)\n"
    "  --spikes N            single-reading spikes per rail (0)\n"
    "  --spike-height MM     height of each spike (0.5)\n"
    "  --bounce MM           vertical motion of the device (0)\n"
    "  --pitch MRAD          pitch of the device (0)\n"
    "  --junk N              stray bytes before the first frame (0)\n"
    "  --line TEXT  --department TEXT  --staff TEXT   run information (UTF-8)\n"
    "  --time YYYYMMDDhhmmss start time, also the files' names (now)\n"
    "  --calibration S:I,... eight slope:intercept pairs, left 1#-4# then right 1#-4#\n"
    "  --seed N              seed of the random parts (1)\n";

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "sundrel-synth: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

}  // namespace

// Option errors end the program with the usage, wherever they are found.
int main(int argc, char** argv) try {
    RecordingPlan plan;
    plan.left.roughnessMm = plan.right.roughnessMm = 0.005;
    std::string folder;
    std::vector<std::string> args(argv + 1, argv + argc);
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
            return 0;
        }
        if (arg == "--length") {
            plan.lengthM = number(value(), arg);
        } else if (arg == "--step") {
            plan.metresPerFrame = number(value(), arg);
        } else if (arg == "--start") {
            plan.startPositionM = number(value(), arg);
        } else if (arg == "--backward") {
            plan.forward = false;
        } else if (arg == "--no-trailer") {
            plan.withTrailer = false;
        } else if (arg == "--left") {
            plan.left.corrugations = corrugations(value(), arg);
        } else if (arg == "--right") {
            plan.right.corrugations = corrugations(value(), arg);
        } else if (arg == "--roughness") {
            plan.left.roughnessMm = plan.right.roughnessMm = number(value(), arg);
        } else if (arg == "--spikes") {
            plan.left.spikes = plan.right.spikes = static_cast<int>(number(value(), arg));
        } else if (arg == "--spike-height") {
            plan.left.spikeHeightMm = plan.right.spikeHeightMm = number(value(), arg);
        } else if (arg == "--bounce") {
            plan.bounceMm = number(value(), arg);
        } else if (arg == "--pitch") {
            plan.pitchMradian = number(value(), arg);
        } else if (arg == "--junk") {
            plan.junkBytes = static_cast<std::size_t>(number(value(), arg));
        } else if (arg == "--line") {
            plan.lineName = value();
        } else if (arg == "--department") {
            plan.department = value();
        } else if (arg == "--staff") {
            plan.staffName = value();
        } else if (arg == "--time") {
            plan.startTime = value();
        } else if (arg == "--calibration") {
            plan.calibration = sundrel::options::calibration(value(), arg);
        } else if (arg == "--seed") {
            plan.seed = static_cast<std::uint64_t>(number(value(), arg));
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("unknown option '" + arg + "'");
        } else if (folder.empty()) {
            folder = arg;
        } else {
            fail("only one folder");
        }
    }
    if (folder.empty()) {
        fail("no folder given");
    }
    if (!(plan.lengthM > 0) || !(plan.metresPerFrame > 0)) {
        fail("--length and --step must be positive");
    }
    try {
        const auto pair = sundrel::synth::writeRecordingPair(plan, folder);
        std::printf("%s\n%s\n", pair.leftPath.c_str(), pair.rightPath.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sundrel-synth: %s\n", error.what());
        return 1;
    }
    return 0;
} catch (const OptionError& error) {
    fail(error.what());
}
