#include "transmitter/sensor_table.h"

#include <array>
#include <bit>
#include <map>

#include "transmitter/parameter_values.h"
#include "transmitter/units.h"

namespace transmitter {
namespace {

constexpr float Bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

constexpr SensorRow Thermometer(int index, std::int32_t code, int nameStringId, float lowerCelsius,
                                float upperCelsius, std::int32_t unit, std::uint32_t lowerBits,
                                std::uint32_t upperBits)
{
    return SensorRow{index,        code, nameStringId,    true,           lowerCelsius,
                     upperCelsius, unit, Bits(lowerBits), Bits(upperBits)};
}

constexpr SensorRow ElectricalInput(int index, std::int32_t code, int nameStringId,
                                    std::int32_t unit, std::uint32_t lowerBits,
                                    std::uint32_t upperBits)
{
    return SensorRow{index,        code, nameStringId,    false,          kNotSetFloat,
                     kNotSetFloat, unit, Bits(lowerBits), Bits(upperBits)};
}

// The electrical limits are the transmitter's own single-precision constants, kept by
// their bits so that no decimal rounding creeps in.
constexpr std::array<SensorRow, kSensorRowCount> kRows = {{
    Thermometer(1, 1, 700, -200, 850, kUnitOhm, 0x419428F6, 0x43C33D95),    // PT100 (a = 0.00385)
    Thermometer(2, 3, 701, -200, 850, kUnitOhm, 0x421428F6, 0x44433D95),    // PT200 (a = 0.00385)
    Thermometer(3, 4, 702, -200, 850, kUnitOhm, 0x42B93333, 0x44F40CFA),    // PT500 (a = 0.00385)
    Thermometer(4, 7, 703, -200, 300, kUnitOhm, 0x43393312, 0x45048866),    // PT1000 (a = 0.00385)
    Thermometer(5, 14, 704, -200, 500, kUnitOhm, 0x4109F909, 0x43165625),   // PT50 (a = 0.00391)
    Thermometer(6, 15, 705, -200, 550, kUnitOhm, 0x4189F909, 0x43965628),   // PT100 (a = 0.00391)
    Thermometer(7, 10, 706, -50, 200, kUnitOhm, 0x421D6666, 0x42B93340),    // CU50 (a = 0.00426)
    Thermometer(8, 11, 707, -185, 200, kUnitOhm, 0x4111F3B6, 0x42B9999A),   // CU50 (a = 0.00428)
    Thermometer(9, 12, 708, -50, 200, kUnitOhm, 0x429D6666, 0x4339333A),    // CU100 (a = 0.00426)
    Thermometer(10, 13, 709, -185, 200, kUnitOhm, 0x4191F3B6, 0x4339999A),  // CU100 (a = 0.00428)
    Thermometer(11, 129, 710, 100, 1820, kUnitMillivolt, 0x3D07F5E8, 0x415D1F20),   // type B
    Thermometer(12, 130, 711, -200, 1000, kUnitMillivolt, 0xC10D31C4, 0x4298BEE5),  // type E
    Thermometer(13, 131, 712, -180, 760, kUnitMillivolt, 0xC0ECDF3D, 0x422BACB8),   // type J
    Thermometer(14, 132, 713, -180, 1372, kUnitMillivolt, 0xC0B19B3F, 0x425B8B27),  // type K
    Thermometer(15, 133, 714, -200, 1300, kUnitMillivolt, 0xC07F7397, 0x423E0D9F),  // type N
    Thermometer(16, 134, 715, 0, 1768, kUnitMillivolt, 0xB866AFCD, 0x41A8CFD3),     // type R
    Thermometer(17, 135, 716, 0, 1768, kUnitMillivolt, 0xB827C5AC, 0x41958AA6),     // type S
    Thermometer(18, 136, 717, -200, 400, kUnitMillivolt, 0xC0B34AF5, 0x41A6FAA2),   // type T
    Thermometer(19, 143, 718, -200, 800, kUnitMillivolt, 0xC117CFDB, 0x4284EEA7),   // type L
    ElectricalInput(20, 128, 719, kUnitMillivolt, 0xC1200000,
                    0x42C80000),                                    // millivolt input, −10…100
    ElectricalInput(21, 0, 720, kUnitOhm, 0x00000000, 0x44FA0000),  // ohm input, 0…2000
}};

struct Lookups {
    std::map<int, std::int32_t> codeByIndex;
    std::map<std::int32_t, int> indexByCode;
};

const Lookups& SensorLookups()
{
    static const Lookups lookups = [] {
        Lookups built;
        for (const SensorRow& row : kRows) {
            built.codeByIndex.emplace(row.index, row.typeCode);
            built.indexByCode.emplace(row.typeCode, row.index);
        }
        return built;
    }();
    return lookups;
}

const SensorRow* FindRow(int index)
{
    if (index < 1 || index > kSensorRowCount) return nullptr;
    return &kRows[index - 1];
}

bool IsTemperatureUnit(std::int32_t unitCode)
{
    return unitCode >= kUnitCelsius && unitCode <= kUnitKelvin;
}

}  // namespace

std::span<const SensorRow, kSensorRowCount> SensorTable() { return kRows; }

std::int32_t SensorCodeFromIndex(int index)
{
    const auto& map = SensorLookups().codeByIndex;
    const auto found = map.find(index);
    return found == map.end() ? kSensorNotSet : found->second;
}

int SensorIndexFromCode(std::int32_t code)
{
    const auto& map = SensorLookups().indexByCode;
    const auto found = map.find(code);
    return found == map.end() ? kSensorNotSet : found->second;
}

std::pair<float, float> SensorLimits(int index, std::int32_t unitCode)
{
    const SensorRow* row = FindRow(index);
    if (row == nullptr) return {kNotSetFloat, kNotSetFloat};
    if (row->hasTemperatureLimits && IsTemperatureUnit(unitCode))
        return {CelsiusToUnit(row->lowerCelsius, unitCode),
                CelsiusToUnit(row->upperCelsius, unitCode)};
    if (unitCode == row->electricalUnit) return {row->electricalLower, row->electricalUpper};
    return {kNotSetFloat, kNotSetFloat};
}

}  // namespace transmitter
