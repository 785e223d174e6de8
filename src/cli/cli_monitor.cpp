#include "cli/cli_monitor.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>

#include "cli/cli_commands.h"
#include "cli/configuration_printout.h"
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
    Monitor() : Command("monitor", "print the live values each cycle, N cycles or until Ctrl+C")
    {
        add(AfterFlag("--cycles",
                      OptionalValue("N", m_cycles, ToPositiveCount, "a positive number")));
        addTraceOption();
    }
    bool usesDevice() const override { return true; }

    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
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
            while (!g_interrupted && (!m_cycles || cycles < *m_cycles))
                cycleEnded.wait_for(lock, std::chrono::milliseconds(200));
        }
        monitor.Stop();
        return Status(monitor.failedCycles() == 0);
    }

private:
    std::optional<int> m_cycles;
};

}  // namespace

std::unique_ptr<Command> MakeMonitorCommand() { return std::make_unique<Monitor>(); }

}  // namespace cli
