// A thousand monitoring cycles while another thread keeps running device commands on the
// same document: every cycle reads intact values and produces exactly one refresh, every
// command succeeds, and nothing deadlocks. Run under ThreadSanitizer as well
// (scripts/run-sanitizers thread): the shared link and its buffers must never be raced.
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "document/live_monitor.h"
#include "document/vesk_doc.h"
#include "faults/deadline.h"
#include "faults/message_ids.h"
#include "support/simulated_transmitter.h"

using namespace document;
using namespace std::chrono_literals;

namespace {

constexpr int kCycles = 1000;
constexpr std::chrono::milliseconds kMonitoringPeriod{2};
// A thousand cycles take about 15 s on a busy two-core machine; the rest is room for the
// ThreadSanitizer run.
constexpr auto kAllCyclesDeadline = 60s;

// The engine's waits at a fortieth of their length: a poll every millisecond instead of 40,
// so a thousand cycles of five transactions fit in seconds.
class ShortenedSleeper final : public hart::Sleeper {
public:
    void sleepFor(std::chrono::milliseconds duration) override
    {
        std::this_thread::sleep_for(duration / 40);
    }
};

// Both threads show messages; each is recorded once, under a lock.
class RecordingUser final : public hart::UserInteraction {
public:
    void notify(int messageId, const std::string&, hart::MessageIcon) override
    {
        std::lock_guard lock(m_mutex);
        m_ids.push_back(messageId);
    }
    int ask(int messageId, const std::string&, int) override
    {
        std::lock_guard lock(m_mutex);
        m_ids.push_back(messageId);
        return 2;  // Cancel
    }
    std::vector<int> ids() const
    {
        std::lock_guard lock(m_mutex);
        return m_ids;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_ids;
};

// What the device saw, taken out of its log under the host's lock so that nothing is lost
// when the log fills up.
struct DeviceTally {
    int cycles = 0;  // a cycle begins with command 16
    int identifications = 0;
    int refused = 0;  // answers with a response code other than 0

    void drain(sim::SimulatorHost& host)
    {
        host.withDevice([this](sim::Device& device) {
            for (const sim::LoggedRequest& request : device.log().entries()) {
                if (request.command == 16) ++cycles;
                if (request.command == 249) ++identifications;
                if (request.responseCode.value_or(0) != 0) ++refused;
            }
            device.clearLog();
        });
    }
};

}  // namespace

TEST(MonitoringUnderCommands, EveryCycleRefreshesOnceWithIntactValues)
{
    SimulatedTransmitter<RecordingUser, ShortenedSleeper> transmitter;
    transmitter.StartTransmitter();
    sim::SimulatorHost& host = *transmitter.host;
    const RecordingUser& user = transmitter.user;
    CVeskDoc& doc = transmitter.doc;

    // Called on the worker after each cycle: the values it has just read must be the
    // device's, not bytes of another command's answer.
    std::mutex refreshMutex;
    std::condition_variable refreshed;
    int refreshes = 0;
    int damagedCycles = 0;
    LiveMonitor monitor(
        doc,
        [&] {
            const bool intact = doc.finalAssemblyNumber() == 441001 && doc.xmtrAsmDay() == 15 &&
                                doc.xmtrAsmMonth() == 3 && doc.xmtrAsmYear() == 124 &&
                                std::fabs(doc.sensorTemp() - 25.0f) < 0.01f &&
                                doc.sensorTempUnits() == 32 &&
                                std::fabs(doc.loopCurrent() - 8.0f) < 0.01f &&
                                doc.sensorFailure() == 0 && doc.xmtrFailure() == 0;
            std::lock_guard lock(refreshMutex);
            ++refreshes;
            if (!intact) ++damagedCycles;
            refreshed.notify_all();
        },
        kMonitoringPeriod);
    ASSERT_TRUE(monitor.Start());

    // Device commands meanwhile: the document's connection check, and a read group through
    // the transmitter's transaction lock, as any second user of the link must take it.
    std::atomic<bool> stopCommands{false};
    std::atomic<int> checks{0}, failedChecks{0}, reads{0}, damagedReads{0};
    std::thread commands([&] {
        transmitter::CTransmitter& xmtr = doc.transmitter();
        while (!stopCommands) {
            (doc.OnCheckConnection() ? checks : failedChecks)++;
            const auto lock = xmtr.lockTransactions();
            const bool read = xmtr.ReadRangeAndLimits() == 1;
            ++reads;
            if (!read || xmtr.upperRangeValue != 100.0f || xmtr.lowerRangeValue != 0.0f ||
                xmtr.rangeUnits != 32)
                ++damagedReads;
        }
    });

    DeviceTally tally;
    const auto deadline = std::chrono::steady_clock::now() + kAllCyclesDeadline;
    {
        std::unique_lock lock(refreshMutex);
        while (refreshes < kCycles && std::chrono::steady_clock::now() < deadline) {
            refreshed.wait_for(lock, 100ms, [&] { return refreshes >= kCycles; });
            lock.unlock();
            tally.drain(host);
            lock.lock();
        }
    }
    monitor.RequestStop();
    FinishesWithin(30s, [&] { monitor.Join(); });
    stopCommands = true;
    FinishesWithin(30s, [&] { commands.join(); });
    tally.drain(host);

    std::lock_guard lock(refreshMutex);
    ASSERT_GE(refreshes, kCycles) << "no deadlock, but too slow: " << refreshes
                                  << " cycles before the deadline";
    // One refresh per cycle the device served, none lost and none doubled.
    EXPECT_EQ(refreshes, tally.cycles);
    EXPECT_EQ(damagedCycles, 0);
    EXPECT_GT(checks, 0);
    EXPECT_EQ(failedChecks, 0);
    EXPECT_EQ(damagedReads, 0);
    EXPECT_EQ(tally.refused, 0);
    // The start's search and each check identified the transmitter once.
    EXPECT_EQ(tally.identifications, checks + 1);
    const std::vector<int> ids = user.ids();
    EXPECT_EQ(static_cast<int>(ids.size()), checks.load());
    EXPECT_EQ(std::count(ids.begin(), ids.end(), kFound), checks.load());
}
