// The modem pulled out in the middle of a transaction: the simulated transmitter's
// pseudo-terminal closes while the engine waits for the answer (the real driver library on
// the program's side). The command fails with its messages and ends; nothing crashes or
// hangs; once the modem is back on the same COM number, the next command works.
#include <chrono>
#include <memory>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "faults/deadline.h"
#include "faults/message_ids.h"
#include "faults/modem_plug.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

using namespace document;
using Moment = ModemPlug::Moment;

namespace {

constexpr std::chrono::seconds kCommandDeadline{60};

constexpr int kDeviceBusy = 1022;

sim::SimulatorSetup SteadyTransmitter()
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0;
    return setup;
}

int StartedCom(sim::SimulatorHost& host)
{
    const auto endpoint = host.start();
    if (!endpoint) throw std::runtime_error(host.error());
    return endpoint->comNumber;
}

// A document on a simulated transmitter paced as a 1200-baud line, so that a transaction
// lasts long enough to pull the modem out in the middle of it.
struct PulledModemSetup {
    PulledModemSetup() { doc.OnNewDocument(); }

    TempPortMapDir portMap;
    sim::SimulatorHost host{SteadyTransmitter(),
                            sim::HostOptions{.wireTiming = true, .timing = {}, .line = {}}};
    int com = StartedCom(host);
    ModemPlug plug{host, com};
    ScriptedUser user;
    hart::FixedPortSettings ports{com};
    CVeskDoc doc{user, ports, plug};
};

enum class Command { CheckConnection, ReadConfiguration };

bool RunCommand(Command command, CVeskDoc& doc)
{
    return FinishesWithin(kCommandDeadline, [&] {
        return command == Command::CheckConnection ? doc.OnCheckConnection()
                                                   : doc.OnReadFromDevice() == CommandOutcome::Done;
    });
}

// After group 1 has failed on the pulled modem, groups 2 to 6 find no port to open.
std::vector<int> ReadMessagesAfter(int firstGroupMessage)
{
    std::vector<int> ids{firstGroupMessage};
    for (int group = 2; group <= 6; ++group) ids.insert(ids.end(), {kCannotOpenPort, kNotFound});
    ids.push_back(kReceptionIncomplete);
    return ids;
}

}  // namespace

TEST(UnpluggedModem, CommandFailsWithItsMessageAndTheNextOneWorksOnceItIsBack)
{
    constexpr std::uint8_t kNoBusyCommand = 0;
    struct Case {
        const char* name;
        Command command;
        // The device answers this command busy (response code 32) until it is pulled out.
        std::uint8_t busyCommand;
        std::size_t pullAtRequest;  // 1 is the identification
        Moment moment;
        std::vector<int> messages;
        Command next;  // the command that must work once the modem is back
    } cases[] = {
        {"check, before the answer",
         Command::CheckConnection,
         kNoBusyCommand,
         1,
         Moment::BeforeAnswer,
         {kNotFound},
         Command::CheckConnection},
        {"check, in the middle of the answer",
         Command::CheckConnection,
         kNoBusyCommand,
         1,
         Moment::MidAnswer,
         {kNotFound},
         Command::CheckConnection},
        // Busy first: the transaction ends with the pending busy result, which leaves the
        // port open, on a device that is gone.
        {"check, busy, then pulled",
         Command::CheckConnection,
         249,
         2,
         Moment::BeforeAnswer,
         {kNotFound},
         Command::CheckConnection},
        {"read, first group before the answer", Command::ReadConfiguration, kNoBusyCommand, 2,
         Moment::BeforeAnswer, ReadMessagesAfter(kNotFound), Command::CheckConnection},
        // A whole read at 1200 baud takes seconds: one case is enough to show it works again.
        {"read, first group in the middle of the answer", Command::ReadConfiguration,
         kNoBusyCommand, 2, Moment::MidAnswer, ReadMessagesAfter(kNotFound),
         Command::ReadConfiguration},
        // Group 2 finds the port left open with its device gone, and opens it anew.
        {"read, first group busy, then pulled", Command::ReadConfiguration, 13, 3,
         Moment::BeforeAnswer, ReadMessagesAfter(kDeviceBusy), Command::CheckConnection},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PulledModemSetup setup;
        if (c.busyCommand != kNoBusyCommand)
            setup.host.withDevice([&](sim::Device& device) {
                device.faults().responseOverrides[c.busyCommand] = 32;
            });
        setup.plug.pullOutAt(c.pullAtRequest, c.moment);

        EXPECT_FALSE(RunCommand(c.command, setup.doc));
        EXPECT_TRUE(setup.plug.pulledOut());
        EXPECT_EQ(setup.user.ids(), c.messages);

        setup.host.withDevice(
            [](sim::Device& device) { device.faults().responseOverrides.clear(); });
        ASSERT_TRUE(setup.plug.plugBackIn());
        setup.user.messages.clear();
        setup.user.answers = {IDYES};  // a read of a document holding data asks first
        EXPECT_TRUE(RunCommand(c.next, setup.doc));
        EXPECT_EQ(
            setup.user.ids(),
            (std::vector<int>{c.next == Command::CheckConnection ? kFound : kReceptionComplete}));
        if (c.next == Command::ReadConfiguration) {
            EXPECT_EQ(setup.doc.upperRangeValue(), 100.0f);
        }
    }
}
