#pragma once

#include <QString>

// What the app tests find in the main window: its title, and controls by their ids.
inline const QString kProgramName = QString::fromUtf8("Конфигурация датчика Тарвел-4410");
constexpr int kTagEdit = 123;
constexpr int kReadButton = 189;
