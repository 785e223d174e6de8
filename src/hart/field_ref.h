#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace hart {

// A reference to the caller's variable for one field of a request or an answer. A default
// (empty) reference skips an answer field; its bytes are still consumed.
class FieldRef {
public:
    enum class Kind { None, Int32, Byte, Float, TextIn, TextOut };

    constexpr FieldRef() = default;
    constexpr FieldRef(std::int32_t* value) : m_kind(Kind::Int32), m_int(value) {}
    constexpr FieldRef(std::uint8_t* value) : m_kind(Kind::Byte), m_byte(value) {}
    constexpr FieldRef(float* value) : m_kind(Kind::Float), m_float(value) {}
    // Request text, up to its NUL.
    constexpr FieldRef(const char* text) : m_kind(Kind::TextIn), m_textIn(text) {}
    // Answer text: the buffer must hold the field's characters and a NUL.
    constexpr FieldRef(char* text) : m_kind(Kind::TextOut), m_textOut(text) {}

    constexpr Kind kind() const { return m_kind; }

    // Integer value for a request: 0 for a reference of another kind.
    std::uint32_t integer() const;
    float real() const;
    const char* text() const;

    void storeInteger(std::uint32_t value) const;
    void storeReal(float value) const;
    char* textBuffer() const { return m_kind == Kind::TextOut ? m_textOut : nullptr; }

private:
    Kind m_kind = Kind::None;
    union {
        std::int32_t* m_int = nullptr;
        std::uint8_t* m_byte;
        float* m_float;
        const char* m_textIn;
        char* m_textOut;
    };
};

using FieldRefs = std::span<const FieldRef>;

// The largest request or answer of the program has 12 fields; callers never pass more.
constexpr int kMaxFieldRefs = 26;

}  // namespace hart
