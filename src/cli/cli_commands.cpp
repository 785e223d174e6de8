#include "cli_commands.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

#include "advanced_send_check.h"
#include "basic_send_check.h"
#include "configuration_printout.h"
#include "framework_messages.h"
#include "link_environment.h"
#include "live_monitor.h"
#include "port_list.h"
#include "report_output.h"
#include "session_port_settings.h"
#include "terminal_user.h"
#include "vesk_doc.h"

namespace cli {
namespace {

using document::CommandOutcome;
using document::CVeskDoc;

// %1 is the file named on the command line.
constexpr const char* kNotSavedAfterFailedRead = "Not saved to \"%1\": the transmitter was not read in full.";

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) { g_interrupted = true; }

int Status(bool done) { return done ? kExitDone : kExitFailed; }

QString Path(const std::string& file) { return QString::fromLocal8Bit(file.c_str()); }

bool OpenFile(CVeskDoc& doc, const std::string& file)
{
    doc.OnNewDocument();
    return doc.OnOpenDocument(Path(file));
}

int ListPorts(TerminalUser& user)
{
    for (const QString& entry : document::FillPortList()) user.printLine(entry.toStdString());
    return kExitDone;
}

int StorePort(CVeskDoc& doc, int port)
{
    doc.OnPortSettings(port);
    return kExitDone;
}

int Read(CVeskDoc& doc, TerminalUser& user, const std::vector<std::string>& args)
{
    doc.OnNewDocument();
    const CommandOutcome outcome = doc.OnReadFromDevice();
    if (outcome == CommandOutcome::Cancelled) return kExitFailed;
    PrintConfiguration(doc, user);
    if (args.empty()) return Status(outcome == CommandOutcome::Done);
    // A partly cleared record must not replace a good file.
    if (outcome != CommandOutcome::Done) {
        user.notify(document::kNoStringId, QString::fromUtf8(kNotSavedAfterFailedRead).arg(Path(args[0])).toStdString(),
                    hart::MessageIcon::Exclamation);
        return kExitFailed;
    }
    return Status(doc.OnSaveDocument(Path(args[0])));
}

int Show(CVeskDoc& doc, TerminalUser& user, const std::string& file)
{
    if (!OpenFile(doc, file)) return kExitFailed;
    PrintConfiguration(doc, user);
    return kExitDone;
}

int PrintPdf(CVeskDoc& doc, const std::string& file, const std::string& pdf)
{
    if (!OpenFile(doc, file)) return kExitFailed;
    return Status(report::WriteReportPdf(doc, Path(pdf)));
}

int Send(CVeskDoc& doc, TerminalUser& user, const std::vector<std::string>& args, bool basic)
{
    if (!OpenFile(doc, args[0])) return kExitFailed;
    const bool validate = args.size() == 2;
    if (validate && !(basic ? document::ValidateBasicPage(doc, user) : document::ValidateAdvancedPage(doc, user)))
        return kExitFailed;
    const bool done = basic ? doc.OnSendBasic() : doc.OnSendAdvanced();
    PrintFailedValues(doc, user);
    return Status(done);
}

// The Calibration page's "Установить" and "Сброс" of the fixed current.
int FixedCurrent(CVeskDoc& doc, const std::string& current)
{
    const bool set = current != "off";
    if (set) doc.setFixedCurrent(*ParseMilliamps(current));
    return Status(doc.ApplyFixedCurrent(set, true));
}

int Monitor(CVeskDoc& doc, TerminalUser& user, const std::vector<std::string>& args)
{
    const int wanted = args.empty() ? 0 : std::stoi(args[1]);
    std::mutex mutex;
    std::condition_variable cycleEnded;
    int cycles = 0;

    QObject::connect(&doc, &CVeskDoc::updateViews, [&](int hint) {
        if (hint == document::HINT_SHOW_INFO) PrintInformation(doc, user);
    });
    document::LiveMonitor monitor(doc, [&] {
        doc.OnRefreshLiveValues();
        {
            std::lock_guard lock(mutex);
            ++cycles;
        }
        cycleEnded.notify_all();
    });

    g_interrupted = false;
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    if (!monitor.Start()) return kExitFailed;
    {
        std::unique_lock lock(mutex);
        // Woken by every cycle; the interrupt flag is looked at a few times a second.
        while (!g_interrupted && (wanted == 0 || cycles < wanted))
            cycleEnded.wait_for(lock, std::chrono::milliseconds(200));
    }
    monitor.Stop();
    return Status(monitor.failedCycles() == 0);
}

}  // namespace

int RunCommand(const Options& options, TerminalUser& user)
{
    document::SessionPortSettings ports(options.port);
    hart::RealSleeper sleeper;
    CVeskDoc doc(user, ports, sleeper);
    doc.storePortNumber = [&ports](int port) { ports.storeChoice(port); };
    doc.OnNewDocument();

    const std::string& command = options.command;
    const auto& args = options.arguments;
    if (command == "ports") return ListPorts(user);
    if (command == "port") return StorePort(doc, std::stoi(args[0]));
    if (command == "check") return Status(doc.OnCheckConnection());
    if (command == "read") return Read(doc, user, args);
    if (command == "show") return Show(doc, user, args[0]);
    if (command == "send-basic") return Send(doc, user, args, true);
    if (command == "send-advanced") return Send(doc, user, args, false);
    if (command == "monitor") return Monitor(doc, user, args);
    if (command == "fixed-current") return FixedCurrent(doc, args[0]);
    if (command == "print") return PrintPdf(doc, args[0], args[2]);
    return kExitUsage;
}

}  // namespace cli
