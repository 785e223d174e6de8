#include "hart/unit_symbols.h"

#include "resources/string_ids.h"
#include "resources/string_ids/hart.h"
#include "resources/string_table.h"

namespace hart {
namespace {

constexpr std::int32_t kFirstTemperatureUnit = 32;  // °C; 33–37 follow in the string table
constexpr std::int32_t kLastSensorUnit = 37;        // Ω
constexpr std::int32_t kSecond = 51;
using tarvel::kFirstUnitSymbolString;
using tarvel::kMilliampereUnit;
using tarvel::kSecondUnit;

}  // namespace

std::string_view UnitSymbol(std::int32_t unitCode)
{
    if (unitCode >= kFirstTemperatureUnit && unitCode <= kLastSensorUnit)
        return tarvel::LoadText(kFirstUnitSymbolString + unitCode - kFirstTemperatureUnit);
    if (unitCode == kMilliampere) return tarvel::LoadText(kMilliampereUnit);
    if (unitCode == kSecond) return tarvel::LoadText(kSecondUnit);
    return {};
}

}  // namespace hart
