// The command line of tarvel4410-sim.

#include <gtest/gtest.h>

#include "simulator/tool_options.h"

namespace {

sim::ToolOptionsResult Parse(std::vector<std::string> arguments)
{
    return sim::ParseToolOptions(arguments);
}

TEST(SimToolOptions, NoArgumentsMeansDefaults)
{
    const auto result = Parse({});
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.options.comNumber, 0);
    EXPECT_FALSE(result.options.wireTiming);
    EXPECT_TRUE(result.options.stateFiles.empty());
    EXPECT_EQ(result.options.deviceCount(), 1);
}

TEST(SimToolOptions, MultidropTakesAStateFileForEachDevice)
{
    const auto result = Parse({"--multidrop", "3", "--state", "a.ini", "--state=b.ini"});
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.options.deviceCount(), 3);
    EXPECT_EQ(result.options.stateFiles, (std::vector<std::string>{"a.ini", "b.ini"}));
}

TEST(SimToolOptions, EveryOptionInBothSpellings)
{
    const auto result = Parse({"--com",
                               "7",
                               "--state=/tmp/s.ini",
                               "--wire-timing",
                               "--device-id",
                               "0xABCDEF",
                               "--process-value=120.5",
                               "--noise",
                               "0",
                               "--busy",
                               "3",
                               "--bad-checksum=always",
                               "--burst",
                               "--wrong-command=2",
                               "--silent",
                               "1",
                               "--comm-error",
                               "4",
                               "--response",
                               "35=9",
                               "--response=34=8",
                               "--write-protect",
                               "--sensor-failure=short",
                               "--poll-address",
                               "15",
                               "--xmtr-failure",
                               "--echo",
                               "--garbage=3"});
    ASSERT_EQ(result.error, "");
    const sim::ToolOptions& o = result.options;
    EXPECT_EQ(o.comNumber, 7);
    EXPECT_EQ(o.stateFiles, std::vector<std::string>{"/tmp/s.ini"});
    EXPECT_TRUE(o.wireTiming);
    EXPECT_TRUE(o.echo);
    EXPECT_EQ(o.garbageBytes, 3);

    sim::SimulatorSetup setup;
    o.applyTo(setup);
    EXPECT_EQ(setup.state.identity.deviceId, 0xABCDEFu);
    EXPECT_FLOAT_EQ(setup.process.value, 120.5f);
    EXPECT_FLOAT_EQ(setup.process.noise, 0.0f);
    EXPECT_EQ(setup.faults.busy.remaining(), 3);
    EXPECT_TRUE(setup.faults.badChecksum.isAlways());
    EXPECT_TRUE(setup.faults.burst.isAlways());
    EXPECT_EQ(setup.faults.wrongCommand.remaining(), 2);
    EXPECT_EQ(setup.faults.silent.remaining(), 1);
    EXPECT_EQ(setup.faults.commError.remaining(), 4);
    EXPECT_EQ(setup.faults.responseOverrides.at(35), 9);
    EXPECT_EQ(setup.faults.responseOverrides.at(34), 8);
    EXPECT_EQ(setup.state.config.writeProtect, 1);
    EXPECT_EQ(setup.faults.sensorFailure, sim::SensorFailure::Short);
    EXPECT_EQ(setup.state.identity.pollAddress, 15);
    EXPECT_TRUE(setup.faults.transmitterFailure);
}

TEST(SimToolOptions, HartIpTakesAnAddressAndPortOrAPort)
{
    const auto both = Parse({"--hart-ip", "0.0.0.0:5094", "--no-pty"});
    ASSERT_EQ(both.error, "");
    EXPECT_EQ(both.options.hartIpAddress, "0.0.0.0");
    EXPECT_EQ(both.options.hartIpPort, 5094);
    EXPECT_TRUE(both.options.noPty);
    const auto port = Parse({"--hart-ip=0"});
    ASSERT_EQ(port.error, "");
    EXPECT_EQ(port.options.hartIpAddress, "127.0.0.1");  // loopback unless told
    EXPECT_EQ(port.options.hartIpPort, 0);
    EXPECT_FALSE(port.options.noPty);
}

TEST(SimToolOptions, OptionsLeftOutKeepWhatTheStateFileSet)
{
    sim::SimulatorSetup setup;
    setup.faults.busy = sim::FaultCount::times(5);
    setup.state.identity.deviceId = 42;
    Parse({"--sensor-failure"}).options.applyTo(setup);
    EXPECT_EQ(setup.faults.busy.remaining(), 5);
    EXPECT_EQ(setup.state.identity.deviceId, 42u);
    EXPECT_EQ(setup.faults.sensorFailure, sim::SensorFailure::Open);
}

TEST(SimToolOptions, HelpInBothForms)
{
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_TRUE(Parse({"--help"}).options.help);
    for (const char* option : {"--com N",
                               "--state FILE",
                               "--wire-timing",
                               "--device-id ID",
                               "--poll-address N",
                               "--process-value VALUE",
                               "--noise VALUE",
                               "--busy COUNT",
                               "--bad-checksum COUNT",
                               "--burst[=COUNT]",
                               "--wrong-command[=COUNT]",
                               "--silent COUNT",
                               "--comm-error COUNT",
                               "--response CMD=CODE",
                               "--write-protect",
                               "--sensor-failure",
                               "--xmtr-failure",
                               "--echo",
                               "--garbage N",
                               "--hart-ip [ADDR:]PORT",
                               "--no-pty",
                               "--help"})
        EXPECT_NE(sim::ToolUsage().find(option), std::string::npos) << option;
}

TEST(SimToolOptions, MistakesAreNamed)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* error;
    };
    const Case cases[] = {
        {{"--colour"}, "unknown option '--colour'"},
        {{"com", "3"}, "unknown option 'com'"},
        {{"--com"}, "--com needs a value"},
        {{"--com", "0"}, "--com expects a port number from 1 to 255"},
        {{"--com", "256"}, "--com expects a port number from 1 to 255"},
        {{"--com=x"}, "--com expects a port number"},
        {{"--busy", "often"}, "--busy expects a number of requests or \"always\""},
        {{"--burst=-1"}, "--burst expects a number of requests"},
        {{"--response", "35"}, "--response expects COMMAND=CODE"},
        {{"--response", "300=1"}, "--response expects COMMAND=CODE"},
        {{"--device-id", "0x1000000"}, "--device-id expects a 24-bit number"},
        {{"--sensor-failure=melted"}, "--sensor-failure expects open, short or none"},
        {{"--write-protect=1"}, "--write-protect takes no value"},
        {{"--noise", "lots"}, "--noise expects a number"},
        {{"--poll-address", "16"}, "--poll-address expects a polling address from 0 to 15"},
        {{"--garbage", "-1"}, "--garbage expects a number of bytes from 0 to 255"},
        {{"--echo=on"}, "--echo takes no value"},
        {{"--hart-ip", "65536"}, "--hart-ip expects [ADDRESS:]PORT"},
        {{"--hart-ip", ":5094"}, "--hart-ip expects [ADDRESS:]PORT"},
        {{"--no-pty"}, "--no-pty needs --hart-ip"},
        {{"--multidrop", "16"}, "--multidrop expects a number of devices from 1 to 15"},
        {{"--multidrop", "2", "--poll-address", "3"}, "--poll-address and --multidrop exclude"},
        {{"--state", "a", "--state", "b"}, "--state is given 2 times for 1 device(s)"},
        {{"--multidrop=2", "--state=a", "--state=b", "--state=c"}, "--state is given 3 times"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.arguments).error.rfind(c.error, 0), 0u) << Parse(c.arguments).error;
}

}  // namespace
