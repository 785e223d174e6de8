#pragma once

#include <cstdint>

namespace transmitter {

constexpr std::int32_t kTarvelManufacturer = 153;
constexpr std::int32_t kTarvelDeviceType = 252;

// The identity a Тарвел-4410 gives in its identification answers.
bool IsTarvel4410(std::int32_t manufacturerCode, std::int32_t deviceType);

}  // namespace transmitter
