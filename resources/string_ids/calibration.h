#pragma once

// The numbered texts of the Calibration page.

namespace tarvel {

// The Calibration page's remarks.
constexpr int kAgreesAtFourMa = 1249;
constexpr int kAgreesAtTwentyMa = 1251;
constexpr int kConnectMultimeter = 1272;
constexpr int kEnterFourMa = 1273;
constexpr int kEnterTwentyMa = 1274;
constexpr int kOutputCalibrated = 1275;
constexpr int kLoopInterrupted = 1311;
constexpr int kNoLowerPoint = 1327;
constexpr int kNoUpperPoint = 1328;
constexpr int kRetryCalibration = 1331;
constexpr int kLowerPointSetUp = 1332;
constexpr int kUpperPointSetUp = 1333;

}  // namespace tarvel
