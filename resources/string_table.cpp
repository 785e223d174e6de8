#include "string_table.h"

#include <algorithm>
#include <array>

namespace tarvel {
namespace {

// Sorted by id: LoadText searches it by bisection.
constexpr std::array kStrings = {
    StringEntry{906, "Датчик Тарвел-4410 не найден"},
    StringEntry{907, "Нельзя закрыть Com порт"},
    StringEntry{908, "Нельзя открыть Com порт"},
    StringEntry{909, "Нельзя сконфигурировать Com порт"},
    StringEntry{57344, "Конфигурация датчика Тарвел-4410"},
};

}  // namespace

std::span<const StringEntry> StringTable() { return kStrings; }

std::string_view LoadText(int id)
{
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const StringEntry& e, int key) { return e.id < key; });
    return (it != kStrings.end() && it->id == id) ? it->text : std::string_view{};
}

}  // namespace tarvel
