#include "cli/cli_monitor.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>

#include "cli/cli_commands.h"
#include "cli/configuration_printout.h"
#include "cli/terminal_user.h"
#include "document/csv_log.h"
#include "document/framework_messages.h"
#include "document/live_monitor.h"
#include "document/vesk_doc.h"

namespace cli {
namespace {

using document::CVeskDoc;

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) { g_interrupted = true; }

class Monitor final : public Command {
public:
    Monitor()
        : Command("monitor", "print the live values each cycle, N cycles or until Ctrl+C; --csv "
                             "also logs them to FILE (- for standard output instead)")
    {
        add(AfterFlag("--cycles",
                      OptionalValue("N", m_cycles, ToPositiveCount, "a positive number")));
        add(AfterFlag("--csv", OptionalFileValue("FILE", m_csv)));
        addTraceOption();
    }
    bool usesDevice() const override { return true; }

    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
        std::mutex mutex;
        std::condition_variable cycleEnded;
        int cycles = 0;
        bool logFailed = false;

        // Made before the transmitter is looked for: a log that cannot be written stops
        // the command before it starts.
        document::CsvLog log;
        if (m_csv && !log.Create(QString::fromLocal8Bit(m_csv->c_str()))) {
            user.notify(document::kNoStringId, log.errorString().toStdString(),
                        hart::MessageIcon::Exclamation);
            return kExitFailed;
        }
        // On the worker, after each cycle and before its refresh.
        const QMetaObject::Connection logging =
            QObject::connect(&doc, &CVeskDoc::liveValuesRead, [&](const document::LiveSample& s) {
                if (!m_csv || logFailed || log.Append(s)) return;
                user.notify(document::kNoStringId, log.errorString().toStdString(),
                            hart::MessageIcon::Exclamation);
                std::lock_guard lock(mutex);
                logFailed = true;
                cycleEnded.notify_all();
            });

        // Rows on standard output stand alone there, for the program they are piped to.
        const bool rowsOnStandardOutput = m_csv && *m_csv == "-";
        QObject::connect(&doc, &CVeskDoc::updateViews, [&](int hint) {
            if (hint == document::HINT_SHOW_INFO && !rowsOnStandardOutput)
                PrintInformation(doc, user);
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
            while (!g_interrupted && !logFailed && (!m_cycles || cycles < *m_cycles))
                cycleEnded.wait_for(lock, std::chrono::milliseconds(200));
        }
        monitor.Stop();
        QObject::disconnect(logging);
        return Status(monitor.failedCycles() == 0 && !logFailed);
    }

private:
    std::optional<int> m_cycles;
    std::optional<std::string> m_csv;
};

}  // namespace

std::unique_ptr<Command> MakeMonitorCommand() { return std::make_unique<Monitor>(); }

}  // namespace cli
