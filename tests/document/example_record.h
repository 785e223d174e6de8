#pragma once

#include <QByteArray>

// The file format's example record: empty tag, PT100, four wires, °C, 0…100, damping 5 s,
// high alarm, levels 3.75 / 21.75 / 3.9 / 20.5, 50 Hz filter, write protection off.
inline const QByteArray kExampleRecord = QByteArray::fromHex(
    "51 92 68 54 42 01 00 00 00 00 00 00 00 00 00 00 "  // magic, version 322, tag (zero)
    "00 00 00 00 00 00 00 00 00 00 01 00 00 00 04 00 "  // sensorType 1 at 26, connection 4 at 30
    "00 00 20 00 00 00 00 00 00 00 00 00 C8 42 00 00 "  // units 32, LRV 0.0, URV 100.0
    "A0 40 00 00 00 00 00 00 70 40 00 00 AE 41 9A 99 "  // damping 5.0, alarm 0, low 3.75,
                                                        // high 21.75, ...
    "79 40 00 00 A4 41 01 00 00 00 00 00 00 00 01 01 "  // low sat 3.9, high sat 20.5, filter 1,
                                                        // protect 0, armature 1 1
    "03 00 00 00 01 00 00 00 01 00 00 00 64 00 00 00 "  // head 3, cable 1, execution 1, length 100
    "01 01 00 01 00 00 00");                            // date 1.1.0, serial 1
