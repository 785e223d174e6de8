// The simulator's state file (tarvel4410-sim --state FILE) of any content; a state it accepts
// must give a device that answers the program's reads with well-formed frames.
#include <string_view>

#include "answer_line_check.h"
#include "simulator/device.h"
#include "simulator/state_file.h"

namespace {

struct ReadRequest {
    std::uint8_t command;
    std::vector<std::uint8_t> data;
};

const ReadRequest kReads[] = {
    {3, {}},  {13, {}},  {14, {}},  {15, {}},  {16, {}},  {33, {0, 1, 2, 3}},
    {48, {}}, {140, {}}, {142, {}}, {150, {}}, {189, {}},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const sim::StateFileResult result =
        sim::StateFile::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!result.ok()) return 0;

    sim::Device device(result.setup);
    const bool checksumMayBeSpoilt = device.faults().badChecksum.active();
    for (const std::uint8_t identification : {0, 249}) {
        sim::Request request;
        request.command = identification;
        request.address[0] = device.state().identity.pollAddress;
        request.checksumOk = true;
        CheckAnswerLine(device.answer(request), checksumMayBeSpoilt);
    }
    const auto address = device.longAddress();
    for (const ReadRequest& read : kReads) {
        sim::Request request;
        request.longFrame = true;
        std::copy(address.begin(), address.end(), request.address.begin());
        request.command = read.command;
        request.data = read.data;
        request.checksumOk = true;
        CheckAnswerLine(device.answer(request), checksumMayBeSpoilt);
    }
    return 0;
}
