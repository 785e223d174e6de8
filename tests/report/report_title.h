#pragma once

#include <QString>

// The first line of every printed report.
inline const QString kTitle = QString::fromUtf8("Конфигурация Тарвел-4410");
