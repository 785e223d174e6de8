#pragma once

#include <cstdint>
#include <span>

namespace hart {

// How the trace shows a field's value.
enum class FieldShow : std::uint8_t {
    Number,   // decimal
    Hex,      // upper-case hex
    Units,    // a unit code, by its symbol; later values of the frame are in these units
    Value,    // a float in the frame's last units
    Current,  // a float in mA
    Seconds,  // a float in seconds
    Text,     // packed ASCII, unpacked
};

struct FieldName {
    int nameId;  // string table
    FieldShow show;
};

struct CommandNames {
    int nameId;
    std::span<const FieldName> request;   // one per field of the command table's request
    std::span<const FieldName> response;  // one per field of its response
};

// The trace's names for a command index of the command table, in the table's order.
const CommandNames& CommandNamesOf(int commandIndex);

}  // namespace hart
