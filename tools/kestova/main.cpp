// kestova: analyses raw data files with the Kestova library, through its
// exported functions only, and prints every message the library sends.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "kestova/kestova.h"
#include "message_printer.h"

namespace {

constexpr const char* kUsage =
    "usage: kestova analyse [--limits T1,T2,T3,T4] [--json] [--arrays] FILE...\n"
    "  --limits  peak-to-peak limits of the bands 30-100, 100-300, 300-1000 and\n"
    "            1000-3000 mm, in mm (default 0.1 each)\n"
    "  --json    one JSON object per message, in the order received\n"
    "  --arrays  with --json: include the profile and band arrays\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "kestova: %s\n%s", message.c_str(), kUsage);
    return 2;
}

bool parseLimits(std::string_view text, double (&limits)[4]) {
    std::size_t at = 0;
    for (int b = 0; b < 4; ++b) {
        const std::size_t comma = text.find(',', at);
        const bool last = b == 3;
        if (last != (comma == std::string_view::npos)) {
            return false;
        }
        const std::string part(text.substr(at, last ? std::string_view::npos : comma - at));
        char* end = nullptr;
        limits[b] = std::strtod(part.c_str(), &end);
        if (part.empty() || end != part.c_str() + part.size()) {
            return false;
        }
        at = comma + 1;
    }
    return true;
}

struct Host {
    KestovaHostWindow window;
    kestova::cli::MessagePrinter* printer;
};

intptr_t deliver(KestovaHostWindow* window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (message == KESTOVA_WM_PANEL_MESSAGE) {
        auto* host = reinterpret_cast<Host*>(window);
        host->printer->onMessage(*reinterpret_cast<const PanelMessage*>(wparam), lparam);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("%s", kUsage);
        return 0;
    }
    if (args.empty() || args[0] != "analyse") {
        return usageError(args.empty() ? "no command given" : "unknown command '" + args[0] + "'");
    }
    double limits[4] = {0.1, 0.1, 0.1, 0.1};
    bool json = false;
    bool arrays = false;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            json = true;
        } else if (arg == "--arrays") {
            arrays = true;
        } else if (arg == "--limits") {
            if (i + 1 >= args.size() || !parseLimits(args[++i], limits)) {
                return usageError("--limits takes four numbers separated by commas");
            }
        } else if (arg.rfind("--limits=", 0) == 0) {
            if (!parseLimits(std::string_view(arg).substr(9), limits)) {
                return usageError("--limits takes four numbers separated by commas");
            }
        } else if (arg == "--") {
            files.insert(files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         args.end());
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) {
        return usageError("no file given");
    }
    if (arrays && !json) {
        return usageError("--arrays goes with --json");
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    kestova::cli::MessagePrinter printer(stdout, json, arrays);
    Host host{{deliver, nullptr}, &printer};
    SetWnd(&host.window);

    int exitStatus = 0;
    for (const std::string& file : files) {
        printer.beginFile(file);
        const int result = Analyse(file.c_str(), limits[0], limits[1], limits[2], limits[3]);
        printer.endFile(file, result);
        if (exitStatus == 0 && result != 0) {
            exitStatus = result;
        }
    }
    SetWnd(nullptr);
    std::fflush(stdout);
    return exitStatus;
}
