#include <climits>
#include <cstddef>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "resources/string_table.h"

namespace {

using tarvel::LoadText;
using tarvel::StringTable;

// Strict check: rejects overlong forms, UTF-16 surrogates, code points above U+10FFFF
// and sequences cut short.
bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            smallest = 0x10000;
        } else {
            return false;
        }
        // The lead byte carries 7 - length payload bits.
        char32_t codePoint = lead & (0x7F >> length);
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < smallest || codePoint > 0x10FFFF) return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

TEST(Utf8Check, AcceptsWellFormedAndRejectsMalformedText)
{
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("Ом °C \xF0\x9F\x98\x80"));
    for (std::string_view bad : {"\x80", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                                 "\xF4\x90\x80\x80", "\xD0", "\xD0\x41", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
    }
}

TEST(StringTable, IdsAreSortedAndUnique)
{
    const auto table = StringTable();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(table[i - 1].id, table[i].id) << "at position " << i;
    }
}

TEST(StringTable, EveryTextIsNonEmptyValidUtf8)
{
    for (const auto& entry : StringTable()) {
        EXPECT_FALSE(entry.text.empty()) << entry.id;
        EXPECT_TRUE(IsValidUtf8(entry.text)) << entry.id;
    }
}

TEST(StringTable, LoadTextFindsEveryEntry)
{
    for (const auto& entry : StringTable()) {
        EXPECT_EQ(LoadText(entry.id), entry.text) << entry.id;
    }
}

TEST(StringTable, UnknownIdsGiveEmptyText)
{
    // Below the first id, gaps between ids, above the last one; 112 must stay absent
    // because the help file path is built from it.
    for (int id : {INT_MIN, -1, 0, 100, 112, 204, 1006, 1342, 57343, 57345, INT_MAX}) {
        EXPECT_TRUE(LoadText(id).empty()) << id;
    }
}

// Lists are filled from runs of consecutive ids (sensor index = id - 699, unit label =
// 800 + unit code - 32, and so on), so a gap would shift every later entry.
TEST(StringTable, ListRunsAreComplete)
{
    struct Run {
        int first;
        int last;
    };
    for (const Run run : {Run{300, 302}, Run{400, 401}, Run{500, 501}, Run{600, 601}, Run{700, 720},
                          Run{736, 750}, Run{800, 807}}) {
        for (int id = run.first; id <= run.last; ++id) {
            EXPECT_FALSE(LoadText(id).empty()) << id;
        }
    }
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto end = text.find('\n', start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

TEST(StringTable, DocumentTypeStringHasItsSevenFields)
{
    const std::vector<std::string_view> expected = {"Программа конфигурации Тарвел-4410",
                                                    "",
                                                    "Датчик Тарвел-4410",
                                                    "Файлы конфигурации(*.4410)",
                                                    ".4410",
                                                    "Датчик",
                                                    "Конфигурация датчика"};
    EXPECT_EQ(SplitLines(LoadText(101)), expected);
}

// Texts are handed to printf-style formatting with one current value; any other '%'
// would read an argument that is not there.
TEST(StringTable, OnlyTheCurrentMessagesAreFormatStrings)
{
    const std::set<int> formatIds = {1285, 1286, 1287, 1288};
    for (const auto& entry : StringTable()) {
        const auto first = entry.text.find('%');
        if (!formatIds.contains(entry.id)) {
            EXPECT_EQ(first, std::string_view::npos) << entry.id;
            continue;
        }
        ASSERT_NE(first, std::string_view::npos) << entry.id;
        EXPECT_EQ(entry.text.substr(first, 5), "%2.2f") << entry.id;
        EXPECT_EQ(entry.text.find('%', first + 1), std::string_view::npos) << entry.id;
    }
}

struct Sample {
    int id;
    std::string_view text;
};

void PrintTo(const Sample& sample, std::ostream* out) { *out << "string " << sample.id; }

class StringTableSample : public testing::TestWithParam<Sample> {};

TEST_P(StringTableSample, TextIsExactlyAsQuoted)
{
    EXPECT_EQ(LoadText(GetParam().id), GetParam().text);
}

// Copied from the quoted product texts, typos and trailing spaces included.
INSTANTIATE_TEST_SUITE_P(
    AcrossTheProgram, StringTableSample,
    testing::Values(
        Sample{205, "Калибровка"}, Sample{300, "2-проводное"}, Sample{501, "50 Гц"},
        Sample{700, "PT100 (a = 0.00385)"}, Sample{710, "Термопара Тип B"}, Sample{720, "Ом"},
        Sample{738, "G3/4-H10"}, Sample{739, "G3/4-Ст20"}, Sample{744, "отсутствует"},
        Sample{748, "A1"}, Sample{800, "°C"}, Sample{806, "мА"}, Sample{807, "с"},
        Sample{902, "Неверный символ "},
        Sample{
            904,
            "Вся несохраненная/неотправленная информация будет потеряна.\nВы хотите продолжить?"},
        Sample{905, "Нажатие 'Продолжить' приведет к изменению выхода датчика.\nУстановите ручной "
                    "режим петли"},
        Sample{906, "Датчик Тарвел-4410 не найден"},
        Sample{910, "Версия файла несовместима с версией программы."},
        Sample{916, "Объединенное имя файла \nневерно или не завершено."},
        Sample{917, "Транзакция обмена данными не может быть завершена\nпо причине того, что "
                    "обрабатывается\nдругая транзакция."},
        Sample{925, "Невозможно открыть гиперссылку:\n\n"},
        Sample{935, "Датчик Тарвел-4410 найден"},
        Sample{1005, "Предупреждение: Передаваемое значение дампинга меньше 0.5 секунд. Значение "
                     "будет округлено до 0.5 секунд"},
        Sample{1025, "Повреждение соединения\n\nПроверте питание, соединение."},
        Sample{1032, "Ошибка вычисления (устройство в режиме аварии и devVarStatus = Bad)"},
        Sample{1101, "Конфигурация Тарвел-4410"},
        Sample{1201, "Чтение данных из подключенного устройства Тарвел-4410"},
        Sample{1209, "Укажите единицы (°C, °F, °K, °R, Ом, мВ)"},
        Sample{1224, "Укажите частоту линн питания"},
        Sample{1244, "Ошибка чтения режима защиты записи"},
        Sample{1245, "Дата производства трансмиттера"},
        Sample{1262, "Верхнее значение уровня насыщения выше верхнего значения (> 23.0001 мА)"},
        Sample{1268, "Слишком маленький размах (< 0.01)"},
        Sample{1273, "Введите в поле `калибровка точки 4 мА` измереннное мультиметром значение!"},
        Sample{1285,
               "Записываемое значение фиксированного тока ниже нижнего уровня аварии! (%2.2f mA)"},
        Sample{1287, "Фиксированный ток (%2.2f mA) успешно установлен!"},
        Sample{1307, "Калибровка вернего предела выполнена успешно"},
        Sample{1310, "Выполняется сброс... Ждите..."},
        Sample{1332, "Поместите датчик в термостат (калибратор, криостат или печь) на одну глубину "
                     "с эталонным термометром. Установите значение температруры, соответствующее "
                     "нижней точки настройки "},
        Sample{57344, "Конфигурация датчика Тарвел-4410"}),
    [](const testing::TestParamInfo<Sample>& info) {
        return "id" + std::to_string(info.param.id);
    });

}  // namespace
