// Sundrel: records, calibrates and analyses rail corrugation measurements.
//
//   sundrel [FILE.raw] [--screenshot FILE [--activity 0|1|2] [--look ID]
//           [--tab A|C..I] [--range FROM,TO]]
#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <cstdio>

#include "app/command_line.h"
#include "app/ui/main_frame.h"
#include "app/ui/program_icon.h"
#include "app/ui/ribbon_bar.h"
#include "core/panel_messenger.h"
#include "core/panel_registry.h"
#include "core/ribbon_ids.h"
#include "core/user_messages.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tavik_OEM"));
    QApplication::setApplicationName(QStringLiteral("Sundrel"));
    QApplication::setWindowIcon(sundrel::app::programIcon());
    const sundrel::app::ParsedCommandLine parsed =
        sundrel::app::parseCommandLine(QApplication::arguments().mid(1));
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "sundrel: %s\n%s", qUtf8Printable(parsed.error),
                     sundrel::app::commandLineUsage());
        return 2;
    }
    const sundrel::app::CommandLine& options = parsed.options;
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
        } else if (options.tab) {
            window->showActivity(1);
        }
        if (options.tab) {
            window->showAnalysisTab(*options.tab);
        }
        if (options.rangeFrom && options.rangeTo) {
            window->showAnalysisRange(*options.rangeFrom, *options.rangeTo);
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
