#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hart {

struct DecodedField {
    std::string name;
    std::string value;  // in the frame's units, numbers in the locale's format
};

// A frame (delimiter to checksum) as the command table reads it.
struct DecodedFrame {
    bool request = false;     // a master's frame
    int command = -1;         // the command number; -1 when the frame is too short for it
    std::string commandName;  // "13 Чтение тега, дескриптора и даты"
    std::string status;       // answers: the response code and device status, by name
    std::string shortStatus;  // answers: the response code, its meaning and any status bits set
    std::vector<DecodedField> fields;
    std::string problem;  // why the frame does not decode (in full); empty when it does
};

DecodedFrame DecodeFrame(std::span<const std::uint8_t> frame);

// The decoding on one line: command, status, then every field as "name value".
std::string DecodedLine(const DecodedFrame& decoded);

// Upper-case hex bytes separated by single spaces.
std::string HexBytes(std::span<const std::uint8_t> bytes);

// The names of the bits set in a field device status byte, or of a communication error
// report's bits, joined by ", ".
std::string DeviceStatusNames(std::uint8_t status);
std::string CommunicationErrorNames(std::uint8_t status);

// The meaning of a transaction result for a command index: "успешно", a response message,
// "нет ответа".
std::string ResultMeaning(int commandIndex, int result);

}  // namespace hart
