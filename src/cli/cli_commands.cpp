#include "cli/cli_commands.h"

#include <cstdio>
#include <optional>

#include "cli/cli_monitor.h"
#include "cli/configuration_printout.h"
#include "cli/port_notes.h"
#include "cli/terminal_user.h"
#include "document/advanced_send_check.h"
#include "document/basic_send_check.h"
#include "document/device_compare.h"
#include "document/device_scan.h"
#include "document/framework_messages.h"
#include "document/port_choice.h"
#include "document/session_port_settings.h"
#include "document/vesk_doc.h"
#include "hart/link_environment.h"
#include "hart/trace_file.h"
#include "report/report_output.h"
#include "resources/string_ids.h"
#include "serial/port_map.h"
#include "serial/port_probe.h"

namespace cli {
namespace {

using document::CommandOutcome;
using document::CVeskDoc;

// %1 is the file named on the command line.
constexpr const char* kNotSavedAfterFailedRead =
    "Not saved to \"%1\": the transmitter was not read in full.";
constexpr const char* kTraceNotOpened = "The trace cannot be written: ";
constexpr const char* kTraceIncomplete = "The trace is incomplete: writing to it failed.";

QString Path(const std::string& file) { return QString::fromLocal8Bit(file.c_str()); }

bool OpenFile(CVeskDoc& doc, const std::string& file)
{
    doc.OnNewDocument();
    return doc.OnOpenDocument(Path(file));
}

class ListPorts final : public Command {
public:
    ListPorts() : Command("ports", "list the COM ports") {}
    int execute(CVeskDoc&, TerminalUser& user) const override
    {
        for (const QString& entry : document::FillPortList()) user.printLine(entry.toStdString());
        return kExitDone;
    }
};

class StorePort final : public Command {
public:
    StorePort() : Command("port", "use COM port N from now on")
    {
        add(Value("N", m_port, ToPortNumber, "a number from 1 to 255"));
    }
    int execute(CVeskDoc& doc, TerminalUser&) const override
    {
        doc.OnPortSettings(m_port);
        return kExitDone;
    }

private:
    int m_port = 0;
};

class Check final : public Command {
public:
    Check() : Command("check", "look for the transmitter") { addTraceOption(); }
    bool usesDevice() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser&) const override
    {
        return Status(doc.OnCheckConnection());
    }
};

class Read final : public Command {
public:
    Read() : Command("read", "read the transmitter, print its configuration and save it to FILE")
    {
        add(OptionalFileValue("FILE", m_file));
        addTraceOption();
    }
    bool usesDevice() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
        doc.OnNewDocument();
        const CommandOutcome outcome = doc.OnReadFromDevice();
        if (outcome == CommandOutcome::Cancelled) return kExitFailed;
        PrintConfiguration(doc, user);
        if (!m_file) return Status(outcome == CommandOutcome::Done);
        // A partly cleared record must not replace a good file.
        if (outcome != CommandOutcome::Done) {
            user.notify(
                document::kNoStringId,
                QString::fromUtf8(kNotSavedAfterFailedRead).arg(Path(*m_file)).toStdString(),
                hart::MessageIcon::Exclamation);
            return kExitFailed;
        }
        return Status(doc.OnSaveDocument(Path(*m_file)));
    }

private:
    std::optional<std::string> m_file;
};

class Show final : public Command {
public:
    Show() : Command("show", "print the configuration saved in FILE")
    {
        add(FileValue("FILE", m_file));
    }
    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
        if (!OpenFile(doc, m_file)) return kExitFailed;
        PrintConfiguration(doc, user);
        return kExitDone;
    }

private:
    std::string m_file;
};

// The configuration lines of the report that differ between a file and the transmitter.
class Compare final : public Command {
public:
    Compare() : Command("compare", "read the transmitter and print where it differs from FILE")
    {
        add(FileValue("FILE", m_file));
        addTraceOption();
    }
    bool usesDevice() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
        const document::DeviceComparison comparison =
            document::CompareWithDevice(doc, Path(m_file));
        if (comparison.outcome != document::DeviceComparison::Outcome::Compared) return kExitFailed;
        for (const document::LineDifference& difference : comparison.differences)
            user.printLine(difference.text().toStdString());
        user.printLine(document::ComparisonSummary(comparison.differences.size()).toStdString());
        return Status(comparison.differences.empty());
    }

private:
    std::string m_file;
};

// The Basic page's or the Advanced page's values from a file, checked as the page checks
// them when asked to.
class Send final : public Command {
public:
    explicit Send(bool basic)
        : Command(basic ? "send-basic" : "send-advanced",
                  basic ? "send the Basic page's values from FILE"
                        : "send the alarm and saturation levels from FILE"),
          m_basic(basic)
    {
        add(FileValue("FILE", m_file));
        add(Switch("--validate", m_validate));
        addTraceOption();
    }
    bool usesDevice() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
        if (!OpenFile(doc, m_file)) return kExitFailed;
        if (m_validate && !(m_basic ? document::ValidateBasicPage(doc, user)
                                    : document::ValidateAdvancedPage(doc, user)))
            return kExitFailed;
        const bool done = m_basic ? doc.OnSendBasic() : doc.OnSendAdvanced();
        PrintFailedValues(doc, user);
        return Status(done);
    }

private:
    bool m_basic;
    std::string m_file;
    bool m_validate = false;
};

// The Calibration page's "Установить" and "Сброс" of the fixed current.
class FixedCurrent final : public Command {
public:
    FixedCurrent()
        : Command("fixed-current", "force the loop current to MA mA, or release it with off")
    {
        add(Value("MA|off", m_current, ToMilliampsOrOff, "a current in mA above 0 or off"));
        addTraceOption();
    }
    bool usesDevice() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser&) const override
    {
        if (m_current) doc.setFixedCurrent(*m_current);
        return Status(doc.ApplyFixedCurrent(m_current.has_value(), true));
    }

private:
    std::optional<float> m_current;
};

// Every polling address of the line, one line for each device that answered.
class Scan final : public Command {
public:
    Scan() : Command("scan", "list the devices on the line at polling addresses 0-15")
    {
        addTraceOption();
    }
    bool usesDevice() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser& user) const override
    {
        const transmitter::ScanResult result = document::ScanDeviceLine(doc, {});
        if (!result.portOpened) return kExitFailed;
        for (const transmitter::FoundDevice& device : result.devices)
            user.printLine(document::TextsOf(device).line().toStdString());
        if (result.devices.empty()) user.printLine(document::ScanSummary(0).toStdString());
        return Status(!result.devices.empty());
    }
};

class PrintPdf final : public Command {
public:
    PrintPdf() : Command("print", "write the printed report of FILE as the PDF OUT")
    {
        add(FileValue("FILE", m_file));
        add(AfterFlag("--pdf", FileValue("OUT", m_pdf)));
    }
    bool needsFonts() const override { return true; }
    int execute(CVeskDoc& doc, TerminalUser&) const override
    {
        if (!OpenFile(doc, m_file)) return kExitFailed;
        return Status(report::WriteReportPdf(doc, Path(m_pdf)));
    }

private:
    std::string m_file;
    std::string m_pdf;
};

// Besides "cannot open the port": a user outside the group that owns serial devices would
// not otherwise learn why.
void HintAtPortPermissions(int comNumber)
{
    if (!serial::ComPortAccessDenied(comNumber)) return;
    const auto device = serial::ComDevice(comNumber);
    std::fprintf(stderr,
                 "tarvel4410-cli: no permission to open COM%d (%s): serial devices belong to the "
                 "dialout group; join it with \"sudo adduser $USER dialout\" and log in again\n",
                 comNumber, device ? device->c_str() : "");
}

}  // namespace

std::vector<std::unique_ptr<Command>> MakeCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(std::make_unique<ListPorts>());
    commands.push_back(std::make_unique<StorePort>());
    commands.push_back(std::make_unique<Check>());
    commands.push_back(std::make_unique<Scan>());
    commands.push_back(std::make_unique<Read>());
    commands.push_back(std::make_unique<Show>());
    commands.push_back(std::make_unique<Compare>());
    commands.push_back(std::make_unique<Send>(true));
    commands.push_back(std::make_unique<Send>(false));
    commands.push_back(MakeMonitorCommand());
    commands.push_back(std::make_unique<PrintPdf>());
    commands.push_back(std::make_unique<FixedCurrent>());
    return commands;
}

int RunCommand(const Options& options, TerminalUser& user)
{
    document::SessionPortSettings ports(options.port, options.address);
    ports.overrideHartIp(options.hartIp);
    hart::RealSleeper sleeper;
    // Before the document: the link records its last closing of the port into it.
    std::unique_ptr<hart::TraceFileWriter> trace;
    if (const auto& file = options.command->traceFile()) {
        std::string error;
        trace = hart::TraceFileWriter::Open(*file, sleeper.now(), error);
        if (!trace) {
            user.notify(document::kNoStringId, kTraceNotOpened + error, hart::MessageIcon::Error);
            return kExitFailed;
        }
    }
    CVeskDoc doc(user, ports, sleeper);
    doc.transmitter().attachTrace(trace.get());
    doc.storePortNumber = [&ports](int port) { ports.storeChoice(port); };
    doc.OnNewDocument();
    int status = kExitDone;
    {
        // From start to end: another program must not take the port between our transactions.
        std::optional<serial::PortHold> hold;
        if (options.command->usesDevice()) {
            hold.emplace(doc.HoldPort());
            ReportPortHold(*hold, ports.portNumber());
        }
        status = options.command->execute(doc, user);
    }
    if (user.noticed(tarvel::kCannotOpenPort) && !ports.hartIpEndpoint())
        HintAtPortPermissions(ports.portNumber());
    if (trace && trace->failed()) {
        user.notify(document::kNoStringId, kTraceIncomplete, hart::MessageIcon::Error);
        return kExitFailed;
    }
    return status;
}

}  // namespace cli
