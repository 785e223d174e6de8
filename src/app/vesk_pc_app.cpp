#include "app/vesk_pc_app.h"

#include <cstdio>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "app/about_box.h"
#include "app/command_line.h"
#include "app/demo_transmitter.h"
#include "app/desktop_integration.h"
#include "app/gui_user_interaction.h"
#include "app/line_scan_dialog.h"
#include "app/port_settings_dialog.h"
#include "app/splash_screen.h"
#include "app/stop_signals.h"
#include "app/vesk_pc_main_win.h"
#include "app/vesk_view.h"
#include "app/window_placement.h"
#include "cli/terminal_user.h"
#include "document/command_worker.h"
#include "document/device_scan.h"
#include "document/gui_thread_call.h"
#include "document/session_port_settings.h"
#include "document/vesk_doc.h"
#include "hart/link_environment.h"
#include "report/command_line_print.h"

namespace {

bool NobodyCanAnswer()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal");
}

}  // namespace

int CVeskPcApp::Run(const QStringList& arguments)
{
    const CommandLine line = ParseCommandLine(arguments);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tarvel4410-config: %s\n", qPrintable(line.error));
        return 2;
    }

    // Without a display nobody can close a message box: notices go to standard error and
    // questions get their negative answer, so the program ends instead of waiting.
    GuiUserInteraction gui;
    cli::TerminalUser console({}, stderr);
    hart::UserInteraction& ui =
        NobodyCanAnswer() ? static_cast<hart::UserInteraction&>(console) : gui;
    // Caught before --demo's link exists, so no signal can come between the two.
    StopSignals stop;
    DemoTransmitter demo;
    std::optional<int> demoPort;
    if (line.demo) {
        demoPort = demo.Start();
        if (!demoPort) {
            std::fprintf(stderr, "tarvel4410-config: the simulated transmitter did not start: %s\n",
                         demo.error().c_str());
            return 1;
        }
    }
    document::SessionPortSettings ports(demoPort);
    hart::RealSleeper sleeper;
    document::CVeskDoc doc(ui, ports, sleeper);
    doc.storePortNumber = [&ports](int port) { ports.storeChoice(port); };

    DesktopIntegration::Refresh(DesktopIntegration::DefaultDataHome(),
                                QApplication::applicationFilePath());

    // Printing from the command line shows no window and ends the program. The pages, never
    // shown, are filled from the opened file, and the report prints what they show.
    if (line.action == CommandLine::Action::Print || line.action == CommandLine::Action::PrintTo) {
        const CVeskView pages(doc);
        return report::PrintFromCommandLine(doc, line.file, line.printer,
                                            [&pages] { return pages.ReportLines(); });
    }

    // The splash comes before any main window exists.
    CSplashDlg().exec();

    CVeskPcMainWin window(doc);
    window.runPortDialog = [&window, &ports]() -> std::optional<int> {
        CPortSettingsDialog dialog(document::AppSettings().storedPortChoice(), serial::ListPorts,
                                   &window);
        dialog.setPollingAddress(ports.pollingAddress());
        dialog.setHartIpEndpoint(document::AppSettings().hartIpEndpoint());
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        ports.storeAddress(dialog.pollingAddress());
        // A HART-IP endpoint is stored here: the document's choice is a COM port number.
        if (const auto endpoint = dialog.hartIpEndpoint()) {
            ports.storeChoice(*endpoint);
            return std::nullopt;
        }
        return dialog.portNumber();
    };
    window.runScanDialog = [&window, &ports, &doc] {
        CLineScanDialog dialog(
            [&doc, &window](const transmitter::ScanControl& control) {
                // The scan is a device command like the others: on the worker, its progress
                // handed back to the dialog on this thread.
                transmitter::ScanControl onWorker = control;
                onWorker.progress = [&window, &control](int asked, int total) {
                    RunOnThreadOfAndWait(&window, [&] { control.progress(asked, total); });
                };
                return document::RunCommand(doc.commands(), document::Cancel::Allowed,
                                            [&] { return document::ScanDeviceLine(doc, onWorker); })
                    .value_or(transmitter::ScanResult{});
            },
            &window);
        if (dialog.exec() != QDialog::Accepted || !dialog.chosenAddress()) return;
        if (dialog.storeAddress())
            ports.storeAddress(*dialog.chosenAddress());
        else
            ports.useAddress(*dialog.chosenAddress());
    };
    QObject::connect(&window, &CVeskPcMainWin::aboutRequested, &window, [&ui, &window] {
        CAboutDialog about(ui, &window);
        about.exec();
    });
    doc.OnNewDocument();
    if (line.action == CommandLine::Action::Open && !window.OpenDocumentFile(line.file)) return 1;

    // A stop signal that came during the start (the splash, a notice) ended those loops.
    if (stop.requested()) return 0;
    PlaceMainWindow(window);
    window.show();
    return QApplication::exec();
}
