// Sundrel: records, calibrates and analyses rail corrugation measurements.
//
//   sundrel [FILE.raw] [--screenshot FILE [--activity 0|1|2] [--look ID]]
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/ui/main_frame.h"
#include "app/ui/program_icon.h"
#include "app/ui/ribbon_bar.h"
#include "core/look_table.h"
#include "core/panel_messenger.h"
#include "core/panel_registry.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"

namespace {

struct Options {
    QString recording;  // a raw data file to analyse at start-up
    QString screenshot;
    int activity = -1;
    int look = 0;
};

[[noreturn]] void usage(const char* message) {
    std::fprintf(stderr,
                 "sundrel: %s\nusage: sundrel [FILE.raw] [--screenshot FILE [--activity 0|1|2] "
                 "[--look ID]]\n",
                 message);
    std::exit(2);
}

Options parse(const QStringList& args) {
    Options options;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size()) {
                usage("an option needs a value");
            }
            return args[++i];
        };
        bool ok = true;
        if (arg == "--screenshot") {
            options.screenshot = value();
        } else if (arg == "--activity") {
            options.activity = value().toInt(&ok);
            ok = ok && options.activity >= 0 && options.activity <= 2;
        } else if (arg == "--look") {
            options.look = value().toInt(&ok);
            ok = ok && options.look >= sundrel::core::kLookWindows2000 &&
                 options.look <= sundrel::core::kLookWindows7;
        } else if (!arg.startsWith("--") && options.recording.isEmpty()) {
            options.recording = arg;
        } else {
            usage("unknown argument");
        }
        if (!ok) {
            usage("bad option value");
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tavik_OEM"));
    QApplication::setApplicationName(QStringLiteral("Sundrel"));
    QApplication::setWindowIcon(sundrel::app::programIcon());
    const Options options = parse(QApplication::arguments());
    if (!options.screenshot.isEmpty()) {
        sundrel::core::setUserMessageSink(sundrel::core::stderrMessageSink());
    }

    using namespace sundrel::app;
    using namespace sundrel::core;
    PanelMessenger messenger(PanelRegistry::global());
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &messenger,
                     &PanelMessenger::shutdown);
    QPointer<CMainFrame> window = new CMainFrame(messenger, kConfigPath, defaultConfigPath());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();

    if (!options.recording.isEmpty()) {
        window->openRecording(options.recording);
    }
    if (!options.screenshot.isEmpty()) {
        // Choose as the user would, then let the window settle, render it and
        // close it the normal way (which saves the settings).
        if (options.look != 0) {
            window->onCommand(options.look);
        }
        if (options.activity >= 0) {
            window->showActivity(options.activity);
        }
        QTimer::singleShot(0, window, [window, file = options.screenshot] {
            const bool saved = window->grab().save(file, "PNG");
            if (!saved) {
                std::fprintf(stderr, "sundrel: cannot write %s\n", qUtf8Printable(file));
            }
            window->close();
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    const int status = QApplication::exec();
    delete window.data();  // not yet deleted: the settings are saved as it goes
    return status;
}
