#include "simulator/request_parser.h"

namespace sim {

namespace {

constexpr std::uint8_t kPreamble = 0xFF;
constexpr std::uint8_t kShortRequestDelimiter = 0x02;
constexpr std::uint8_t kLongRequestDelimiter = 0x82;

}  // namespace

void RequestParser::reset()
{
    m_step = Step::Preamble;
    m_preambles = 0;
}

bool RequestParser::inFrame() const { return m_step != Step::Preamble || m_preambles > 0; }

void RequestParser::startFrame(bool longFrame)
{
    m_request = Request{};
    m_request.longFrame = longFrame;
    m_request.lineBytes = m_preambles + 1;
    m_request.frame.push_back(longFrame ? kLongRequestDelimiter : kShortRequestDelimiter);
    m_addressBytesDue = longFrame ? 5 : 1;
    m_checksum = longFrame ? kLongRequestDelimiter : kShortRequestDelimiter;
    m_step = Step::Address;
}

std::optional<Request> RequestParser::push(std::uint8_t byte)
{
    if (m_step == Step::Preamble) {
        if (byte == kPreamble) {
            ++m_preambles;
        } else if (m_preambles >= kMinimumPreambles &&
                   (byte == kShortRequestDelimiter || byte == kLongRequestDelimiter)) {
            startFrame(byte == kLongRequestDelimiter);
        } else {
            m_preambles = 0;
        }
        return std::nullopt;
    }

    ++m_request.lineBytes;
    m_request.frame.push_back(byte);
    switch (m_step) {
    case Step::Address: {
        const std::size_t index = (m_request.longFrame ? 5 : 1) - m_addressBytesDue;
        m_request.address[index] = byte;
        if (--m_addressBytesDue == 0) m_step = Step::Command;
        break;
    }
    case Step::Command:
        m_request.command = byte;
        m_step = Step::ByteCount;
        break;
    case Step::ByteCount:
        m_dataBytesDue = byte;
        m_step = m_dataBytesDue > 0 ? Step::Data : Step::Checksum;
        break;
    case Step::Data:
        m_request.data.push_back(byte);
        if (--m_dataBytesDue == 0) m_step = Step::Checksum;
        break;
    case Step::Checksum:
        m_request.checksumOk = byte == m_checksum;
        reset();
        return std::move(m_request);
    case Step::Preamble: break;
    }
    m_checksum ^= byte;
    return std::nullopt;
}

}  // namespace sim
