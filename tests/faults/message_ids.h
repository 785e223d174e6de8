#pragma once

// The messages the fault tests wait for, by their numbers in the string table.
constexpr int kNotFound = 906;
constexpr int kCannotOpenPort = 908;
constexpr int kReceptionComplete = 899;
constexpr int kReceptionIncomplete = 1470;
constexpr int kFound = 935;
