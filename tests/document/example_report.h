#pragma once

#include <QStringList>

// The Basic and Advanced report lines of the file format's example configuration (PT100,
// four wires, °C, 0…100, damping 5 s, high alarm, levels 3.75 / 21.75 / 3.9 / 20.5, 50 Hz
// filter, write protection off), under an English number format.
inline QStringList ExampleConfigurationReport()
{
    QStringList lines;
    for (const char* line : {
             "Тег датчика: ",
             "Тип сенсора: PT100 (a = 0.00385)",
             "Соединение сенсора: 4-проводное",
             "Точка 4 мА: 0.00 °C",
             "Точка 20 мА: 100.00 °C",
             "Нижний предел диапазона: -200.00 °C",
             "Верхний предел диапазона: 850.00 °C",
             "Демпфирование: 5.0 с",
             "Тип аварии: Высокий",
             "Низкий уровень аварии: 3.75 мА",
             "Высокий уровень аварии: 21.75 мА",
             "Нижнее насыщение: 3.90 мА",
             "Верхнее насыщение: 20.50 мА",
             "Фильтр 50/60 Гц: 50 Гц",
             "Защита записи: выключена",
         })
        lines << QString::fromUtf8(line);
    return lines;
}
