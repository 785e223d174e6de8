#include <array>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "hart/hart_driver.h"
#include "support/answer_frames.h"
#include "support/fake_driver_control.h"
#include "support/pty_port.h"

using namespace hart;

namespace {

class DriverBindingTest : public testing::Test {
protected:
    TempPortMapDir portMap;
    PtyPort port;
};

}  // namespace

TEST_F(DriverBindingTest, AbsentLibraryFailsEveryTimeAndIsTriedAgain)
{
    setenv("TARVEL4410_HART_DRIVER", FakeDriverControl::LibraryPath("libno_such_driver.so").c_str(),
           1);
    CHARTDriver driver;
    EXPECT_EQ(driver.Open(port.comNumber()), -1);
    EXPECT_EQ(driver.Open(port.comNumber()), -1);

    // Once the library is there, the next opening loads it.
    FakeDriverControl fake;
    EXPECT_EQ(driver.Open(port.comNumber()), 0);
    EXPECT_EQ(fake.counters().opens, 1);
}

TEST_F(DriverBindingTest, MissingExportGivesMinusThree)
{
    FakeDriverControl fake("libfake_hart_driver_no_close.so");
    CHARTDriver driver;
    EXPECT_EQ(driver.Open(port.comNumber()), -3);
    EXPECT_EQ(fake.counters().opens, 0);
    EXPECT_EQ(driver.Close(), -1);
}

TEST_F(DriverBindingTest, ProbeFailureNeverLoadsTheLibrary)
{
    FakeDriverControl fake;
    CHARTDriver driver;
    EXPECT_EQ(driver.Open(port.comNumber() + 1), -3);  // no such COM port
    EXPECT_EQ(fake.counters().opens, 0);

    // Another program holds the device.
    const int holder = open(port.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(flock(holder, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(driver.Open(port.comNumber()), -3);
    EXPECT_EQ(fake.counters().opens, 0);
    close(holder);
    EXPECT_EQ(driver.Open(port.comNumber()), 0);
    // The probe runs again on every opening, also with the library loaded.
    EXPECT_EQ(driver.Open(port.comNumber() + 1), -3);
    EXPECT_EQ(fake.counters().opens, 1);
}

TEST_F(DriverBindingTest, OpenPassesTheDriversOwnResult)
{
    FakeDriverControl fake;
    fake.setResults(42, 0, 0, 0);
    CHARTDriver driver;
    EXPECT_EQ(driver.Open(port.comNumber()), 42);
}

TEST_F(DriverBindingTest, FlushInputStopsAfterTwelveReads)
{
    FakeDriverControl fake;
    fake.setEndlessReply(answers::LongAnswer(3, 0, 0, {}));
    CHARTDriver driver;
    ASSERT_EQ(driver.Open(port.comNumber()), 0);
    driver.FlushInput();
    EXPECT_EQ(fake.counters().reads, CHARTDriver::kMaxFlushReads);
}

TEST_F(DriverBindingTest, ReadReportsNothingWhenNoFrameDespiteStaleLength)
{
    FakeDriverControl fake;
    CHARTDriver driver;
    ASSERT_EQ(driver.Open(port.comNumber()), 0);
    std::array<std::uint8_t, 284> dest{};
    dest.fill(0x55);
    EXPECT_EQ(driver.Read(dest.data()), 0);  // the fake leaves length 0xBEEF behind
}

TEST_F(DriverBindingTest, ReadCopiesFrameAndClampsLength)
{
    FakeDriverControl fake;
    const auto frame = answers::LongAnswer(3, 0, 0, {1, 2, 3});
    fake.scriptWrite({frame});
    fake.addReply(frame, 60000);
    CHARTDriver driver;
    ASSERT_EQ(driver.Open(port.comNumber()), 0);
    driver.SetTxFrame(frame.data(), static_cast<int>(frame.size()));
    ASSERT_EQ(driver.Write(), 0);
    std::array<std::uint8_t, 284> dest{};
    EXPECT_EQ(driver.Read(dest.data()), static_cast<int>(frame.size()));
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), dest.begin()));
    EXPECT_EQ(driver.Read(dest.data()), 284);
}

TEST_F(DriverBindingTest, SetTxFrameClearsOldBytes)
{
    FakeDriverControl fake;
    CHARTDriver driver;
    ASSERT_EQ(driver.Open(port.comNumber()), 0);
    const std::uint8_t longer[] = {1, 2, 3, 4, 5, 6};
    const std::uint8_t shorter[] = {9, 9};
    driver.SetTxFrame(longer, 6);
    driver.SetTxFrame(shorter, 2);
    ASSERT_EQ(driver.Write(), 0);
    const auto c = fake.counters();
    EXPECT_EQ(c.lastWriteLength, 2);
    EXPECT_EQ(c.lastWrite[1], 9);
    EXPECT_EQ(c.lastWrite[2], 0);
}
