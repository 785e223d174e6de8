#include "document/display_text.h"

#include <QByteArrayView>

#include "resources/string_table.h"
#include "transmitter/units.h"

namespace document {

QString LoadedText(int stringId)
{
    return QString::fromUtf8(QByteArrayView(tarvel::LoadText(stringId)));
}

QString UnitText(std::int32_t unitCode)
{
    return QString::fromUtf8(QByteArrayView(transmitter::UnitSymbol(unitCode)));
}

QString EntryText(const QStringList& entries, int index)
{
    return index >= 0 && index < entries.size() ? entries.at(index) : QString();
}

}  // namespace document
