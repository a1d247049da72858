#include "boxsim/simulated_box.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "boxsim/host_command_parser.h"

namespace sundrel::boxsim {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using frames::RailSide;

// Frames that fall due are written together this often, as a UART driver
// hands over what has arrived.
constexpr auto kChunk = std::chrono::milliseconds(2);
// While no host has the port open the master reports a hang-up without end;
// the box looks again this often instead of polling it.
constexpr auto kNoHostPause = std::chrono::milliseconds(20);
// Frames made ahead of the line; more fall due while the host is not reading.
constexpr std::size_t kOutboxLimit = 64 * 1024;

[[noreturn]] void throwSystemError(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

RailSide otherSide(RailSide side) {
    return side == RailSide::Left ? RailSide::Right : RailSide::Left;
}

bool finite(double value) {
    return std::isfinite(value);
}

void validate(const BoxOptions& o) {
    auto require = [](bool ok, const char* what) {
        if (!ok) {
            throw std::invalid_argument(std::string("simulated box: ") + what);
        }
    };
    require(o.side == RailSide::Left || o.side == RailSide::Right, "side must be left or right");
    require(o.speedKmh > 0 && finite(o.speedKmh), "speed must be positive");
    require(o.wheelDiameterMm > 0 && finite(o.wheelDiameterMm), "wheel diameter must be positive");
    require(o.pulsesPerTurn > 0, "pulses per turn must be positive");
    require(!o.rateFps || (*o.rateFps > 0 && *o.rateFps <= kLineRateFramesPerS),
            "forced rate must be above 0 and at most the line rate");
    require(o.track.lengthM >= 0 && finite(o.track.lengthM), "spike period must not be negative");
    for (const synth::SensorCalibration& line : o.track.calibration) {
        require(line.slope != 0 && finite(line.slope) && finite(line.intercept),
                "calibration slopes must not be 0");
    }
    require(std::all_of(o.targetsMm.begin(), o.targetsMm.end(), finite) &&
                std::all_of(o.targetScriptMm.begin(), o.targetScriptMm.end(), finite),
            "target distances must be numbers");
    const BoxFaults& f = o.faults;
    for (const auto& at : {f.otherSideAtS, f.silenceAtS, f.burstAtS, f.hangUpAfterS}) {
        require(!at || (*at >= 0 && finite(*at)), "fault times must not be negative");
    }
    require(f.silenceS >= 0 && finite(f.silenceS), "silence must not be negative");
}

// Bytes on their way to the line, and where the frames among them end.
class Outbox {
public:
    std::size_t waiting() const { return bytes_.size() - sent_; }

    void addFrame(const std::array<std::uint8_t, frames::kFrameSize>& frame) {
        bytes_.insert(bytes_.end(), frame.begin(), frame.end());
        frameEnds_.push_back(queued_ += frame.size());
    }

    void addBytes(const std::vector<std::uint8_t>& bytes) {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        queued_ += bytes.size();
    }

    const std::uint8_t* next() const { return bytes_.data() + sent_; }

    // Marks `count` bytes as written; returns how many frames that completed.
    std::size_t markWritten(std::size_t count) {
        sent_ += count;
        written_ += count;
        std::size_t completed = 0;
        while (!frameEnds_.empty() && frameEnds_.front() <= written_) {
            frameEnds_.pop_front();
            ++completed;
        }
        if (sent_ == bytes_.size()) {
            bytes_.clear();
            sent_ = 0;
        }
        return completed;
    }

    void clear() {
        bytes_.clear();
        sent_ = 0;
        frameEnds_.clear();
        written_ = queued_;
    }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t sent_ = 0;
    std::deque<std::uint64_t> frameEnds_;  // stream offsets
    std::uint64_t queued_ = 0;
    std::uint64_t written_ = 0;
};

// One run: from a start command to the host's hang-up or the next start.
class Run {
public:
    Run(const BoxOptions& options, int pulsesPerFrame, Clock::time_point start)
        : faults_(options.faults),
          source_(planFor(options, pulsesPerFrame), options.side),
          otherSource_(planFor(options, pulsesPerFrame), otherSide(options.side)),
          stray_(strayBytes(options.side)),
          start_(start),
          rate_(framesPerSecond(options, pulsesPerFrame)) {}

    bool silent(Clock::time_point now) const {
        const double e = elapsed(now);
        return faults_.silenceAtS && e >= *faults_.silenceAtS &&
               e < *faults_.silenceAtS + faults_.silenceS;
    }

    // Adds the frames due by `now` to the outbox, as far as it has room.
    void addDueFrames(Clock::time_point now, Outbox& out) {
        const double e = elapsed(now);
        if (faults_.burstAtS && !burstDone_ && e >= *faults_.burstAtS) {
            burstDone_ = true;
            burstExtra_ = faults_.burstFrames;
        }
        if (faults_.otherSideAtS && !otherSideDone_ && e >= *faults_.otherSideAtS) {
            otherSideDone_ = true;
            otherSideLeft_ = faults_.otherSideFrames;
        }
        const auto due =
            static_cast<std::size_t>(std::floor(activeSeconds(e) * rate_)) + 1 + burstExtra_;
        for (; next_ < due && out.waiting() < kOutboxLimit; ++next_) {
            if (otherSideLeft_ > 0) {
                --otherSideLeft_;
                out.addFrame(otherSource_.frame(next_));
            } else {
                out.addFrame(source_.frame(next_));
            }
            if (faults_.strayEvery > 0 && (next_ + 1) % faults_.strayEvery == 0) {
                out.addBytes(stray_);
            }
        }
    }

    // When the run next has something to do: the next frame, the end of a
    // silence or a fault that has yet to happen.
    Clock::time_point nextEvent(Clock::time_point now) const {
        const double e = elapsed(now);
        double at = 0;
        if (silent(now)) {
            at = *faults_.silenceAtS + faults_.silenceS;
        } else {
            const double active =
                (static_cast<double>(next_) - static_cast<double>(burstExtra_)) / rate_;
            at = active;
            if (faults_.silenceAtS && active > *faults_.silenceAtS) {
                at += faults_.silenceS;
            }
            at = std::max(at, e + Seconds(kChunk).count());
            for (const auto& fault : {faults_.silenceAtS, faults_.burstAtS, faults_.otherSideAtS}) {
                if (fault && *fault > e) {
                    at = std::min(at, *fault);
                }
            }
        }
        return start_ + std::chrono::duration_cast<Clock::duration>(Seconds(at));
    }

private:
    static synth::RecordingPlan planFor(const BoxOptions& options, int pulsesPerFrame) {
        synth::RecordingPlan plan = options.track;
        plan.metresPerFrame =
            metresPerFrame(options.wheelDiameterMm, options.pulsesPerTurn, pulsesPerFrame);
        return plan;
    }

    double elapsed(Clock::time_point now) const { return Seconds(now - start_).count(); }

    // Seconds of the run in which the box was not silent.
    double activeSeconds(double e) const {
        if (!faults_.silenceAtS) {
            return e;
        }
        return e - std::clamp(e - *faults_.silenceAtS, 0.0, faults_.silenceS);
    }

    const BoxFaults faults_;
    const synth::RailFrameSource source_;
    const synth::RailFrameSource otherSource_;
    const std::vector<std::uint8_t> stray_;
    const Clock::time_point start_;
    const double rate_;
    std::size_t next_ = 0;  // index of the next track frame
    std::size_t burstExtra_ = 0;
    std::size_t otherSideLeft_ = 0;
    bool burstDone_ = false;
    bool otherSideDone_ = false;
};

int timeoutMs(std::optional<Clock::time_point> until, Clock::time_point now) {
    if (!until) {
        return -1;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*until - now).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, 60'000));
}

}  // namespace

SimulatedBox::SimulatedBox(BoxOptions options)
    : options_(std::move(options)), targetsMm_(options_.targetsMm) {
    validate(options_);
    masterFd_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (masterFd_ < 0) {
        throwSystemError("posix_openpt");
    }
    try {
        std::array<char, 128> name{};
        termios raw{};
        if (grantpt(masterFd_) != 0 || unlockpt(masterFd_) != 0 ||
            ptsname_r(masterFd_, name.data(), name.size()) != 0) {
            throwSystemError("pseudo-terminal");
        }
        devicePath_ = name.data();
        // Raw on both ends: no echo of the host's commands, no translation of
        // 0x0D bytes in frames.
        if (tcgetattr(masterFd_, &raw) != 0) {
            throwSystemError("tcgetattr");
        }
        cfmakeraw(&raw);
        cfsetspeed(&raw, B115200);
        if (tcsetattr(masterFd_, TCSANOW, &raw) != 0 ||
            fcntl(masterFd_, F_SETFL, fcntl(masterFd_, F_GETFL) | O_NONBLOCK) != 0) {
            throwSystemError("pseudo-terminal settings");
        }
        wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd_ < 0) {
            throwSystemError("eventfd");
        }
        if (!options_.teePath.empty()) {
            teeFd_ =
                ::open(options_.teePath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (teeFd_ < 0) {
                throwSystemError(options_.teePath);
            }
        }
        thread_ = std::thread([this] { run(); });
    } catch (...) {
        for (int fd : {masterFd_, wakeFd_, teeFd_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
        throw;
    }
}

SimulatedBox::~SimulatedBox() {
    stop();
}

void SimulatedBox::stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        const std::uint64_t one = 1;
        if (::write(wakeFd_, &one, sizeof one) < 0) {
            // The counter cannot overflow here; the thread also sees stopping_.
        }
        thread_.join();
    }
    for (int* fd : {&masterFd_, &wakeFd_, &teeFd_}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

void SimulatedBox::setTarget(int sensor, double mm) {
    if (sensor < 1 || sensor > static_cast<int>(frames::kSensorCount)) {
        throw std::out_of_range("sensors are numbered 1 to 4");
    }
    const std::lock_guard lock(targetsMutex_);
    targetsMm_[static_cast<std::size_t>(sensor - 1)] = mm;
}

double SimulatedBox::target(int sensor) const {
    if (sensor < 1 || sensor > static_cast<int>(frames::kSensorCount)) {
        throw std::out_of_range("sensors are numbered 1 to 4");
    }
    const std::lock_guard lock(targetsMutex_);
    return targetsMm_[static_cast<std::size_t>(sensor - 1)];
}

BoxCounters SimulatedBox::counters() const {
    return {bytesSent_.load(),           framesSent_.load(),     startCommands_.load(),
            calibrationRequests_.load(), pulsesPerFrame_.load(), hungUp_.load()};
}

std::array<std::uint8_t, frames::kFrameSize> SimulatedBox::calibrationFrame() {
    const std::lock_guard lock(targetsMutex_);
    const std::vector<double>& script = options_.targetScriptMm;
    if (!script.empty()) {
        targetsMm_.fill(script[scriptNext_]);
        if (scriptNext_ + 1 < script.size()) {
            ++scriptNext_;
        } else if (options_.cycleTargets) {
            scriptNext_ = 0;
        }
    }
    const std::size_t base = options_.side == RailSide::Left ? 0 : frames::kSensorCount;
    frames::SensorWords words{};
    for (std::size_t k = 0; k < words.size(); ++k) {
        words[k] = synth::sensorWord(targetsMm_[k], options_.track.calibration[base + k]);
    }
    return frames::makeFrame(options_.side, words);
}

void SimulatedBox::run() {
    HostCommandParser parser;
    Outbox out;
    std::optional<Run> run;
    std::optional<Clock::time_point> hangUpAt;
    bool hostGone = false;
    std::array<std::uint8_t, 256> input{};

    auto pause = [this](std::chrono::milliseconds span) {
        pollfd wake{wakeFd_, POLLIN, 0};
        ::poll(&wake, 1, static_cast<int>(span.count()));
    };

    while (!stopping_) {
        const auto now = Clock::now();
        if (hangUpAt && now >= *hangUpAt) {
            // Flagged first: whoever sees the line end also sees the flag.
            hungUp_ = true;
            ::close(masterFd_);
            masterFd_ = -1;
            return;
        }
        if (hostGone) {
            pollfd master{masterFd_, POLLIN, 0};
            if (::poll(&master, 1, 0) == 1 && (master.revents & POLLHUP) != 0) {
                pause(kNoHostPause);
                continue;
            }
            hostGone = false;
        }

        bool silent = false;
        std::optional<Clock::time_point> wakeAt = hangUpAt;
        if (run) {
            silent = run->silent(now);
            if (!silent) {
                run->addDueFrames(now, out);
            }
            const auto event = run->nextEvent(now);
            wakeAt = wakeAt ? std::min(*wakeAt, event) : event;
        }
        const bool sending = out.waiting() > 0 && !silent;
        std::array<pollfd, 2> fds = {
            pollfd{wakeFd_, POLLIN, 0},
            pollfd{masterFd_, static_cast<short>(sending ? POLLIN | POLLOUT : POLLIN), 0}};
        if (::poll(fds.data(), fds.size(), timeoutMs(wakeAt, now)) < 0) {
            continue;  // EINTR
        }
        const short events = fds[1].revents;

        if ((events & POLLIN) != 0) {
            for (;;) {
                const ssize_t n = ::read(masterFd_, input.data(), input.size());
                if (n <= 0) {
                    break;
                }
                for (const HostCommand& command :
                     parser.feed(input.data(), static_cast<std::size_t>(n))) {
                    if (command.kind == HostCommand::Kind::Start) {
                        ++startCommands_;
                        pulsesPerFrame_ = command.pulsesPerFrame;
                        const auto started = Clock::now();
                        run.emplace(options_, command.pulsesPerFrame, started);
                        if (!hangUpAt && options_.faults.hangUpAfterS) {
                            hangUpAt = started + std::chrono::duration_cast<Clock::duration>(
                                                     Seconds(*options_.faults.hangUpAfterS));
                        }
                    } else {
                        ++calibrationRequests_;
                        out.addFrame(calibrationFrame());
                    }
                }
            }
        }
        if ((events & POLLHUP) != 0) {
            // The host closed the port: the run is over and nobody is left to
            // receive what was still on its way.
            run.reset();
            out.clear();
            parser.reset();
            hostGone = true;
            continue;
        }
        if ((events & POLLOUT) != 0 && sending) {
            const ssize_t n = ::write(masterFd_, out.next(), out.waiting());
            if (n > 0) {
                const auto count = static_cast<std::size_t>(n);
                if (teeFd_ >= 0) {
                    std::size_t teed = 0;
                    while (teed < count) {
                        const ssize_t t = ::write(teeFd_, out.next() + teed, count - teed);
                        if (t <= 0) {
                            std::perror("simulated box: tee");
                            ::close(teeFd_);
                            teeFd_ = -1;
                            break;
                        }
                        teed += static_cast<std::size_t>(t);
                    }
                }
                bytesSent_ += count;
                framesSent_ += out.markWritten(count);
            }
        }
    }
}

}  // namespace sundrel::boxsim
