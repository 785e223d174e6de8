#include "hart/field_ref.h"

namespace hart {

std::uint32_t FieldRef::integer() const
{
    switch (m_kind) {
    case Kind::Int32: return static_cast<std::uint32_t>(*m_int);
    case Kind::Byte: return *m_byte;
    default: return 0;
    }
}

float FieldRef::real() const
{
    switch (m_kind) {
    case Kind::Float: return *m_float;
    case Kind::Int32: return static_cast<float>(*m_int);
    case Kind::Byte: return *m_byte;
    default: return 0.0f;
    }
}

const char* FieldRef::text() const
{
    switch (m_kind) {
    case Kind::TextIn: return m_textIn;
    case Kind::TextOut: return m_textOut;
    default: return nullptr;
    }
}

void FieldRef::storeInteger(std::uint32_t value) const
{
    if (m_kind == Kind::Int32)
        *m_int = static_cast<std::int32_t>(value);
    else if (m_kind == Kind::Byte)
        *m_byte = static_cast<std::uint8_t>(value);
}

void FieldRef::storeReal(float value) const
{
    if (m_kind == Kind::Float) *m_float = value;
}

}  // namespace hart
