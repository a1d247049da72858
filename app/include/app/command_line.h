#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace sundrel::app {

// What the program is asked to do at start-up:
//
//   sundrel [FILE.raw] [--screenshot FILE [--activity 0|1|2] [--look ID]
//           [--tab A|C..I] [--range FROM,TO]]
struct CommandLine {
    QString recording;   // a raw data file to analyse at start-up
    QString screenshot;  // PNG of the window to write, then quit
    int activity = -1;   // 0 acquisition, 1 analysis, 2 calibration; -1 as started
    int look = 0;        // a look's command id; 0 the stored look
    // An analysis tab by the letter its label begins with; it shows the
    // analysis activity unless --activity says otherwise.
    std::optional<QChar> tab;
    // Distances shown on the waveform views' bottom axes, metres, finite,
    // from < to.
    std::optional<double> rangeFrom;
    std::optional<double> rangeTo;
};

// The arguments after the program name; `error` is empty when they are
// all understood, else says what is wrong (the caller prints the usage).
struct ParsedCommandLine {
    CommandLine options;
    QString error;
};
ParsedCommandLine parseCommandLine(const QStringList& arguments);

// "usage: sundrel [FILE.raw] ..." with a line break at the end.
const char* commandLineUsage();

}  // namespace sundrel::app
