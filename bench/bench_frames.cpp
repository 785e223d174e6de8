// bench_frames: how many frames the program's codec builds, and how many answers it checks
// and decodes, per second: a sanity figure for the core, set beside what a 1200-baud HART
// line can carry at all.
//
// The answers are those the simulated transmitter (device-side code, not the codec) gives
// to the program's own requests, one for every command of the table it answers with
// success; each timed round builds every request and checks and decodes every answer as a
// transaction would (the answer copied into the receive buffer first, as the driver does).

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "hart/answer_check.h"
#include "hart/command_table.h"
#include "hart/field_type.h"
#include "hart/frame_codec.h"
#include "simulator/device.h"
#include "simulator/request_parser.h"
#include "simulator/wire_timing.h"

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr Seconds kPhaseTime{2.0};
constexpr int kRoundsPerClockCheck = 200;
constexpr std::uint8_t kPreamble = 0xFF;

// Request values as the program sends them, where zeros would be refused: the range and
// its units, a sensor set-up, the calibration units, the alarm and saturation levels.
struct RequestValues {
    std::uint8_t command;
    std::array<float, 4> values;
};
constexpr RequestValues kRequestValues[] = {
    {35, {32, 100.0f, 0.0f}},          {44, {32}}, {141, {0, 1, 3}}, {142, {0, 32}},
    {155, {21.0f, 3.6f, 20.5f, 3.8f}},
};

// Storage for one command's fields, and references to it in the codec's form. Requests
// carry zeros, or the values above.
struct Fields {
    std::array<std::int32_t, hart::kMaxFieldRefs> integers{};
    std::array<float, hart::kMaxFieldRefs> reals{};
    std::array<std::array<char, 33>, hart::kMaxFieldRefs> texts{};
    std::vector<hart::FieldRef> refs;

    // The references point into this object: it stays where it was made.
    Fields(const Fields&) = delete;
    Fields& operator=(const Fields&) = delete;

    Fields(std::uint8_t command, std::span<const std::uint8_t> layout, bool forRequest)
    {
        for (const RequestValues& known : kRequestValues) {
            if (!forRequest || known.command != command) continue;
            for (std::size_t i = 0; i < known.values.size(); ++i) {
                integers[i] = static_cast<std::int32_t>(known.values[i]);
                reals[i] = known.values[i];
            }
        }
        for (std::size_t i = 0; i < layout.size() && i < integers.size(); ++i) {
            switch (layout[i]) {
            case hart::FT_FLOAT: refs.emplace_back(&reals[i]); break;
            case hart::FT_ASCII8:
            case hart::FT_ASCII16:
            case hart::FT_ASCII32:
                if (forRequest)
                    refs.emplace_back(static_cast<const char*>("TARVEL"));
                else
                    refs.emplace_back(texts[i].data());
                break;
            default: refs.emplace_back(&integers[i]); break;
            }
        }
    }
};

struct Sample {
    explicit Sample(int index)
        : commandIndex(index), command(hart::CommandTable().at(index).command),
          request(command, hart::CommandTable().at(index).request, true),
          answerFields(command, hart::CommandTable().at(index).response, false)
    {
    }

    int commandIndex;
    std::uint8_t command;
    bool shortFrame = false;
    Fields request;
    Fields answerFields;
    hart::FrameBuffer answer{};
    int answerLength = 0;
    std::size_t requestLineBytes = 0;
    std::size_t answerLineBytes = 0;
};

std::optional<sim::Request> Parse(const std::uint8_t* bytes, int length)
{
    sim::RequestParser parser;
    for (int i = 0; i < length; ++i)
        if (auto request = parser.push(bytes[i])) return request;
    return std::nullopt;
}

// One request through the simulated transmitter; the sample is kept when the answer is a
// success (response code 0 or the warning 8) and fits the codec's buffer.
std::unique_ptr<Sample> Exchange(hart::FrameCodec& codec, sim::Device& device, int commandIndex)
{
    auto kept = std::make_unique<Sample>(commandIndex);
    Sample& sample = *kept;
    hart::FrameBuffer request{};
    const int requestLength = codec.BuildRequest(commandIndex, request.data(), sample.request.refs);
    sample.shortFrame = codec.shortFrame;
    sample.requestLineBytes = static_cast<std::size_t>(requestLength);
    const auto parsed = Parse(request.data(), requestLength);
    if (!parsed) return nullptr;

    const std::vector<std::uint8_t> line = device.answer(*parsed);
    const auto start =
        std::find_if(line.begin(), line.end(), [](std::uint8_t b) { return b != kPreamble; });
    const auto length = line.end() - start;
    if (length <= 0 || length > hart::kFrameCapacity) return nullptr;
    std::copy(start, line.end(), sample.answer.begin());
    sample.answerLength = static_cast<int>(length);
    sample.answerLineBytes = line.size();

    const hart::AnswerCheck check =
        hart::CheckAnswerFrame(sample.answer, sample.answerLength, sample.command);
    if (check.verdict != hart::AnswerVerdict::Valid ||
        (check.responseCode != 0 && check.responseCode != 8))
        return nullptr;
    // The identification gives the long address every later request needs.
    codec.rxFrame = sample.answer;
    codec.rxLength = sample.answerLength;
    codec.DecodeResponse(commandIndex, sample.answerFields.refs);
    return kept;
}

// Runs rounds of `work` for about kPhaseTime; returns rounds per second.
template <typename Work>
double RoundsPerSecond(Work&& work)
{
    long rounds = 0;
    const auto start = Clock::now();
    Seconds elapsed{0};
    do {
        for (int i = 0; i < kRoundsPerClockCheck; ++i) work();
        rounds += kRoundsPerClockCheck;
        elapsed = Clock::now() - start;
    } while (elapsed < kPhaseTime);
    return static_cast<double>(rounds) / elapsed.count();
}

}  // namespace

int main()
{
    sim::Device device;
    hart::FrameCodec codec;
    std::vector<std::unique_ptr<Sample>> samples;
    // Identification first: it is sent as a short frame and yields the long address.
    std::vector<int> order{hart::CMD_IDENTIFY};
    for (int i = 0; i < hart::kCommandCount; ++i)
        if (i != hart::CMD_IDENTIFY) order.push_back(i);
    std::vector<int> left;
    for (int index : order) {
        if (auto sample = Exchange(codec, device, index))
            samples.push_back(std::move(sample));
        else
            left.push_back(hart::CommandTable().at(index).command);
    }
    if (samples.empty()) {
        std::fprintf(stderr, "bench_frames: the simulated transmitter answered nothing\n");
        return 1;
    }

    std::uint64_t sink = 0;
    int invalid = 0;
    hart::FrameBuffer request{};
    const double buildRounds = RoundsPerSecond([&] {
        for (const auto& s : samples)
            sink += static_cast<std::uint64_t>(
                codec.BuildRequest(s->commandIndex, request.data(), s->request.refs));
    });
    const double answerRounds = RoundsPerSecond([&] {
        for (const auto& s : samples) {
            const hart::AnswerCheck check =
                hart::CheckAnswerFrame(s->answer, s->answerLength, s->command);
            if (check.verdict != hart::AnswerVerdict::Valid) ++invalid;
            codec.rxFrame = s->answer;
            codec.rxLength = s->answerLength;
            codec.shortFrame = s->shortFrame;
            codec.DecodeResponse(s->commandIndex, s->answerFields.refs);
            sink += static_cast<std::uint64_t>(s->answerFields.integers[0]);
        }
    });
    if (invalid != 0) {
        std::fprintf(stderr, "bench_frames: %d answers failed their check\n", invalid);
        return 1;
    }

    const double perRound = static_cast<double>(samples.size());
    const double built = buildRounds * perRound;
    const double decoded = answerRounds * perRound;
    // A transaction costs one build, one check and one decode.
    const double transactions = 1.0 / (1.0 / built + 1.0 / decoded);
    const sim::WireTiming timing;
    Seconds lineTime{0};
    for (const auto& s : samples)
        lineTime += timing.transactionTime(s->requestLineBytes, s->answerLineBytes);
    const double lineTransactions = perRound / lineTime.count();

    std::printf("%zu commands in the mix (of %d; left out, not answered with success:",
                samples.size(), hart::kCommandCount);
    for (int command : left) std::printf(" %d", command);
    std::printf(")\n");
    std::printf("requests built:              %12.0f frames/s\n", built);
    std::printf("answers checked and decoded: %12.0f frames/s\n", decoded);
    std::printf("transactions (codec only):   %12.0f /s\n", transactions);
    std::printf("transactions on the line:    %12.2f /s at 1200 baud\n", lineTransactions);
    std::printf("(work check, to keep the loops from being optimised away: %llu)\n",
                static_cast<unsigned long long>(sink % 1000));
    std::printf("bench_frames: %.0f built/s, %.0f checked+decoded/s, codec %.0fx the line\n", built,
                decoded, transactions / lineTransactions);
    return 0;
}
