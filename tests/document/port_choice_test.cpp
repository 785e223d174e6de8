#include <gtest/gtest.h>

#include "document/port_choice.h"
#include "document/question_box.h"

using namespace document;

namespace {

PortLister Ports(std::vector<serial::PortInfo> ports)
{
    return [ports] { return ports; };
}

serial::PortInfo Free(int n) { return {n, "/dev/null", false}; }
serial::PortInfo Busy(int n) { return {n, "/dev/null", true}; }

}  // namespace

TEST(PortList, EntriesSortedAsTextWithBusyMark)
{
    EXPECT_EQ(FillPortList(Ports({Free(3), Free(1), Busy(5), Free(10)})),
              (QStringList{"COM1", "COM10", "COM3", QString::fromUtf8("COM5 (занят)")}));
}

TEST(PortList, NumberOfAnEntry)
{
    EXPECT_EQ(PortNumberOf("COM12"), 12);
    EXPECT_EQ(PortNumberOf(QString::fromUtf8("COM3 (занят)")), 3);
    EXPECT_EQ(PortNumberOf("COM"), 0);
    EXPECT_EQ(PortNumberOf(""), 0);
    EXPECT_EQ(PortNumberOf("COM99999999999999999"), 9999999);  // stops early, never overflows
}

TEST(PortList, FirstChoicePreselectsTheLastEntry)
{
    const PortChoice choice = OpenPortChoice(-1, Ports({Free(1), Free(3), Free(10)}));
    EXPECT_EQ(choice.selected, 2);
    EXPECT_EQ(choice.entries[2], "COM3");
    EXPECT_EQ(choice.portNumber, 3);
    EXPECT_TRUE(choice.okEnabled);
}

TEST(PortList, FirstChoiceOfABusyPortCannotBeConfirmed)
{
    const PortChoice choice = OpenPortChoice(-1, Ports({Free(1), Busy(3)}));
    EXPECT_EQ(choice.selected, 1);
    EXPECT_FALSE(choice.okEnabled);
    EXPECT_EQ(choice.portNumber, -1);
}

TEST(PortList, NoPortsLeavesOkEnabledAndNothingSelected)
{
    const PortChoice choice = OpenPortChoice(-1, Ports({}));
    EXPECT_EQ(choice.selected, -1);
    EXPECT_TRUE(choice.okEnabled);
    EXPECT_EQ(choice.portNumber, -1);
}

TEST(PortList, StoredBusyPortIsPreselectedAndStaysConfirmable)
{
    const PortChoice choice = OpenPortChoice(3, Ports({Free(1), Busy(3), Free(4)}));
    EXPECT_EQ(choice.entries[choice.selected], QString::fromUtf8("COM3 (занят)"));
    EXPECT_TRUE(choice.okEnabled);
    EXPECT_EQ(choice.portNumber, 3);
}

TEST(PortList, StoredPortGoneSelectsLastButKeepsTheNumber)
{
    const PortChoice choice = OpenPortChoice(7, Ports({Free(1), Free(2)}));
    EXPECT_EQ(choice.selected, 1);
    EXPECT_EQ(choice.portNumber, 7);
}

TEST(PortList, SelectionReprobesEveryPort)
{
    PortChoice choice = OpenPortChoice(1, Ports({Free(1), Busy(5)}));
    SelectPort(choice, 1, Ports({Free(1), Busy(5)}));
    EXPECT_FALSE(choice.okEnabled);
    EXPECT_EQ(choice.portNumber, 1);
    // Freed meanwhile: the mark is gone and the port can be chosen.
    SelectPort(choice, 1, Ports({Free(1), Free(5)}));
    EXPECT_EQ(choice.entries[1], "COM5");
    EXPECT_TRUE(choice.okEnabled);
    EXPECT_EQ(choice.portNumber, 5);
}

TEST(QuestionBox, ButtonsCaptionsAndNegativeAnswer)
{
    EXPECT_EQ(ButtonsOfStyle(MB_YESNOCANCEL), (std::vector<Button>{IDYES, IDNO, IDCANCEL}));
    EXPECT_EQ(ButtonsOfStyle(kRetryCancelError), (std::vector<Button>{IDRETRY, IDCANCEL}));
    EXPECT_EQ(ButtonsOfStyle(kYesNoWarning), (std::vector<Button>{IDYES, IDNO}));
    EXPECT_EQ(ButtonCaptionId(IDOK), 1337);
    EXPECT_EQ(ButtonCaptionId(IDABORT), 1340);
    EXPECT_EQ(NegativeButton(kYesNoWarning), IDNO);
    EXPECT_EQ(NegativeButton(MB_YESNOCANCEL), IDNO);
    EXPECT_EQ(NegativeButton(kRetryCancelError), IDCANCEL);
    EXPECT_EQ(NegativeButton(MB_OKCANCEL), IDCANCEL);
}
