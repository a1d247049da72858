#include "app/command_line.h"

#include <cmath>

#include "analysis/ui/analyse_dlg.h"
#include "core/look_table.h"

namespace sundrel::app {
namespace {

// "FROM,TO": two finite numbers, FROM below TO.
bool parseRange(const QString& text, CommandLine& options) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 2) {
        return false;
    }
    bool fromOk = false;
    bool toOk = false;
    const double from = parts[0].trimmed().toDouble(&fromOk);
    const double to = parts[1].trimmed().toDouble(&toOk);
    if (!fromOk || !toOk || !std::isfinite(from) || !std::isfinite(to) || !(from < to)) {
        return false;
    }
    options.rangeFrom = from;
    options.rangeTo = to;
    return true;
}

}  // namespace

const char* commandLineUsage() {
    return "usage: sundrel [FILE.raw] [--screenshot FILE [--activity 0|1|2] [--look ID]\n"
           "               [--tab A|C|D|E|F|G|H|I] [--range FROM,TO]]\n";
}

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    ParsedCommandLine parsed;
    CommandLine& options = parsed.options;
    for (qsizetype i = 0; i < arguments.size() && parsed.error.isEmpty(); ++i) {
        const QString& arg = arguments[i];
        if (arg.startsWith(QLatin1String("--")) && i + 1 >= arguments.size()) {
            parsed.error = QStringLiteral("%1 needs a value").arg(arg);
            break;
        }
        bool ok = true;
        if (arg == QLatin1String("--screenshot")) {
            options.screenshot = arguments[++i];
            ok = !options.screenshot.isEmpty();
        } else if (arg == QLatin1String("--activity")) {
            options.activity = arguments[++i].toInt(&ok);
            ok = ok && options.activity >= 0 && options.activity <= 2;
        } else if (arg == QLatin1String("--look")) {
            options.look = arguments[++i].toInt(&ok);
            ok =
                ok && options.look >= core::kLookWindows2000 && options.look <= core::kLookWindows7;
        } else if (arg == QLatin1String("--tab")) {
            const QString letter = arguments[++i];
            ok = letter.size() == 1 && analysis::analysisTabLetters().contains(letter.front());
            options.tab = letter.front();
        } else if (arg == QLatin1String("--range")) {
            ok = parseRange(arguments[++i], options);
        } else if (!arg.startsWith(QLatin1String("--")) && options.recording.isEmpty()) {
            options.recording = arg;
            continue;
        } else {
            parsed.error = QStringLiteral("unknown argument %1").arg(arg);
            break;
        }
        if (!ok) {
            parsed.error = QStringLiteral("bad value for %1: '%2'").arg(arg, arguments[i]);
        }
    }
    if (!parsed.error.isEmpty()) {
        parsed.options = {};
    }
    return parsed;
}

}  // namespace sundrel::app
