#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>

namespace document {

// The forms' fixed texts are UTF-8 literals in the source.
inline QString Utf8(const char* text) { return QString::fromUtf8(text); }

// A numbered string of the string table.
QString LoadedText(int stringId);

// The symbol of a unit code as the unit labels show it; empty for codes outside 32–37.
QString UnitText(std::int32_t unitCode);

// The text a list shows for a selected index: empty for no selection (a negative index or
// one beyond the list).
QString EntryText(const QStringList& entries, int index);

}  // namespace document
