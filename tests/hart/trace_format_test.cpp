// The trace's lines, pinned: other tools read them.
#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hart/trace_format.h"
#include "support/answer_frames.h"

using namespace hart;
using namespace std::chrono_literals;
using answers::Bytes;

namespace {

struct LineCase {
    TraceEvent event;
    std::string line;
};

TraceEvent Frame(TraceKind kind, Bytes frame, int value = 0)
{
    return TraceEvent{{}, kind, value, -1, std::move(frame), {}};
}

TraceEvent Event(TraceKind kind, int value = 0, int commandIndex = -1, std::string text = {})
{
    return TraceEvent{{}, kind, value, commandIndex, {}, std::move(text)};
}

}  // namespace

TEST(TraceFormat, LinesForFramesOfEachKindAndForEvents)
{
    Bytes badChecksum = answers::LongAnswer(16, 0, 0, {0x00, 0x30, 0x39});
    badChecksum.back() ^= 0x5A;
    Bytes truncated = answers::LongAnswer(16, 0, 0, {0x00, 0x30, 0x39});
    truncated.pop_back();
    const LineCase cases[] = {
        // A short request: delimiter 02, poll address 0, command 249, no data, checksum.
        {Frame(TraceKind::Request, {0x02, 0x00, 0xF9, 0x00, 0xFB}, 5),
         "00:00:01.250 > 02 00 F9 00 FB  249 Идентификация; преамбул: 5"},
        // A long request with data: units °C, upper 100.0, lower 0.0.
        {Frame(TraceKind::Request,
               {0x82, 0x99, 0xFC, 0x0A, 0x1B, 0x2C, 0x23, 0x09, 0x20, 0x42, 0xC8, 0x00, 0x00, 0x00,
                0x00, 0x00, 0x00, 0x5A},
               5),
         "00:00:01.250 > 82 99 FC 0A 1B 2C 23 09 20 42 C8 00 00 00 00 00 00 5A  35 Запись "
         "диапазона; единицы °C (32), верхнее значение диапазона 100 °C, нижнее значение "
         "диапазона 0 °C; преамбул: 5"},
        // An answer: status byte 0x50 is "configuration changed" and "more status".
        {Frame(TraceKind::Answer, answers::LongAnswer(16, 0, 0x50, {0x00, 0x30, 0x39})),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 10 05 00 50 00 30 39 92  16 Чтение номера сборки; "
         "код ответа 0 (успешно), статус устройства 50 (конфигурация изменена, есть "
         "дополнительный статус); номер сборки 12345"},
        // A packed tag and descriptor.
        {Frame(TraceKind::Answer,
               answers::LongAnswer(13, 0, 0, {0x51, 0x4B, 0x71, 0xC3, 0x18, 0x20, 0x04,
                                              0x20, 0xC4, 0x14, 0x61, 0xC8, 0x24, 0xA2,
                                              0xCC, 0x34, 0xE3, 0xD0, 9,    12,   126})),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 0D 17 00 00 51 4B 71 C3 18 20 04 20 C4 14 61 C8 24 "
         "A2 CC 34 E3 D0 09 0C 7E 3F  13 Чтение тега, дескриптора и даты; код ответа 0 "
         "(успешно), статус устройства 00 (нет); тег \"TT-101  \", дескриптор "
         "\"ABCDEFGHIJKLMNOP\", день 9, месяц 12, год 126"},
        // Busy: a refusal without data, decoded in full.
        {Frame(TraceKind::Answer, answers::LongAnswer(16, 32, 0, {})),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 10 02 20 00 EC  16 Чтение номера сборки; код "
         "ответа 32 (Устройство занято), статус устройства 00 (нет)"},
        // A communication error report: the longitudinal parity bit.
        {Frame(TraceKind::Answer, answers::LongAnswer(16, 0x88, 0, {})),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 10 02 88 00 44  16 Чтение номера сборки; ошибка "
         "связи: ошибка продольной чётности"},
        {Frame(TraceKind::Answer, badChecksum),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 10 05 00 00 00 30 39 98  16 Чтение номера сборки; не "
         "расшифрован: неверная контрольная сумма"},
        {Frame(TraceKind::Answer, truncated),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 10 05 00 00 00 30 39  16 Чтение номера сборки; не "
         "расшифрован: число байт данных не совпадает с длиной кадра"},
        {Frame(TraceKind::Answer, answers::LongAnswer(1, 0, 0, {})),
         "00:00:01.250 < 86 99 FC 0A 1B 2C 01 02 00 00 DD  1; не расшифрован: команда не из "
         "таблицы команд"},
        {Frame(TraceKind::Answer, {0x86, 0x99}),
         "00:00:01.250 < 86 99  не расшифрован: кадр короче заголовка"},
        {Event(TraceKind::PortOpened, 3, -1, "/dev/pts/4"),
         "00:00:01.250 ! порт открыт: COM3, /dev/pts/4"},
        {Event(TraceKind::NoAnswer, 100), "00:00:01.250 ! нет ответа, опросов: 100"},
        {Event(TraceKind::CommunicationError, 0xC8),
         "00:00:01.250 ! ошибка связи: ошибка вертикальной чётности, ошибка продольной чётности"},
        {Event(TraceKind::Result, 9, 9),
         "00:00:01.250 ! результат: 9 Нижнее значение диапазона велико"},
        {Event(TraceKind::Result, 255, 29), "00:00:01.250 ! результат: 255 нет ответа"},
        {Event(TraceKind::SessionOpened, 30000, -1, "gw:5094 TCP"),
         "00:00:01.250 ! сеанс HART-IP открыт: gw:5094 TCP, таймер бездействия, мс: 30000"},
        {Event(TraceKind::SessionOpenFailed, static_cast<int>(NetworkIssue::Refused), -1,
               "15, gw:5094 UDP"),
         "00:00:01.250 ! сеанс HART-IP не открыт: сервер отклонил сеанс, статус 15, gw:5094 UDP"},
        {Event(TraceKind::SessionOpenFailed, static_cast<int>(NetworkIssue::NoAnswer), -1,
               "gw:5094 UDP"),
         "00:00:01.250 ! сеанс HART-IP не открыт: нет ответа gw:5094 UDP"},
        {Event(TraceKind::KeepAlive, 7), "00:00:01.250 ! поддержание сеанса HART-IP, номер 7"},
        {Event(TraceKind::SessionLost, static_cast<int>(NetworkIssue::Nak), -1, "0"),
         "00:00:01.250 ! сеанс HART-IP потерян: отказ (NAK), статус 0"},
        {Event(TraceKind::MessageDropped, static_cast<int>(NetworkIssue::OtherAddress), -1,
               "40000"),
         "00:00:01.250 ! сообщение HART-IP отброшено: чужой адрес 40000"},
        {Event(TraceKind::MessageDropped, static_cast<int>(NetworkIssue::Unexpected)),
         "00:00:01.250 ! сообщение HART-IP отброшено: сообщение без запроса"},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(TraceLine(1250ms, DescribeEvent(c.event)), c.line);
    }
}

TEST(TraceFormat, TimeRunsPastADay)
{
    EXPECT_EQ(TraceTime(0ms), "00:00:00.000");
    EXPECT_EQ(TraceTime(1h + 2min + 3s + 4ms), "01:02:03.004");
    EXPECT_EQ(TraceTime(100h + 59s + 999ms), "100:00:59.999");
}
