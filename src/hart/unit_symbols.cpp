#include "hart/unit_symbols.h"

#include "resources/string_table.h"

namespace hart {
namespace {

constexpr std::int32_t kFirstTemperatureUnit = 32;  // °C; 33–37 follow in the string table
constexpr std::int32_t kLastSensorUnit = 37;        // Ω
constexpr std::int32_t kMilliampere = 39;
constexpr std::int32_t kSecond = 51;
constexpr int kFirstUnitSymbolString = 800;
constexpr int kMilliampereString = 806;
constexpr int kSecondString = 807;

}  // namespace

std::string_view UnitSymbol(std::int32_t unitCode)
{
    if (unitCode >= kFirstTemperatureUnit && unitCode <= kLastSensorUnit)
        return tarvel::LoadText(kFirstUnitSymbolString + unitCode - kFirstTemperatureUnit);
    if (unitCode == kMilliampere) return tarvel::LoadText(kMilliampereString);
    if (unitCode == kSecond) return tarvel::LoadText(kSecondString);
    return {};
}

}  // namespace hart
