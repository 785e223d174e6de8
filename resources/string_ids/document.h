#pragma once

// The numbered texts of the document: its messages, questions and list entries.

namespace tarvel {

// The waits of a calibration.
constexpr int kCalibrationWaitText = 1309;
constexpr int kResetWaitText = 1310;

// Reading from and sending to the transmitter, and the configuration file.
constexpr int kMessageReceptionComplete = 899;
constexpr int kMessageReceptionIncomplete = 1470;
constexpr int kMessageCancelled = 1481;
constexpr int kMessageTransferComplete = 900;
constexpr int kQuestionDataLoss = 904;
constexpr int kMessageFileVersion = 910;
constexpr int kMessageFound = 935;
constexpr int kMessageWriteProtected = 1004;
constexpr int kMessageProtectUnreadable = 1244;

// The Advanced page.
constexpr int kLowAlarmNotice = 903;

// The connection list: 2-, 3- and 4-wire in a row.
constexpr int kTwoWireString = 300;
constexpr int kThreeWireString = 301;
constexpr int kFourWireString = 302;

// Comparing the file with the device.
constexpr int kCompareSummarySame = 1454;
constexpr int kCompareSummaryDiffering = 1455;
constexpr int kMessageNotCompared = 1464;

// The report's values.
constexpr int kReportYes = 1122;
constexpr int kReportNo = 1123;

// The Basic page's fields.
constexpr int kInvalidCharacterMessage = 902;
constexpr int kDampingRangeMessage = 901;

// The loop current: the fixed current and the 4 mA and 20 mA trims.
constexpr int kAlarmLevelsUnreadable = 1246;
constexpr int kFixedCurrentReset = 1247;
constexpr int kFixedCurrentResetFailed = 1248;
constexpr int kFourMaTrimFailed = 1250;
constexpr int kTwentyMaTrimFailed = 1252;
constexpr int kBelowLowAlarm = 1285;
constexpr int kAboveHighAlarm = 1286;
constexpr int kFixedCurrentSet = 1287;
constexpr int kFixedCurrentSetFailed = 1288;
constexpr int kQuestionRetryTrim = 1341;

// Why the Basic page cannot be sent.
constexpr int kUnitsWithoutSensor = 1263;
constexpr int kSensorWithoutConnection = 1264;
constexpr int kConnectionWithoutSensor = 1265;
constexpr int kMissing20mA = 1266;
constexpr int kMissing4mA = 1267;
constexpr int kMessageSpanTooSmall = 1268;
constexpr int kPointsWithoutChoices = 1269;
constexpr int kBelowLowerLimit = 1270;
constexpr int kAboveUpperLimit = 1271;

// Why the Advanced page cannot be sent.
constexpr int kIncompleteLevels = 1253;
constexpr int kLowAlarmTooLow = 1254;
constexpr int kLowAlarmTooHigh = 1255;
constexpr int kLowSaturationTooLow = 1256;
constexpr int kLowSaturationBelowAlarm = 1257;
constexpr int kLowSaturationTooHigh = 1258;
constexpr int kHighSaturationTooLow = 1259;
constexpr int kHighSaturationTooHigh = 1260;
constexpr int kHighAlarmTooLow = 1261;
constexpr int kHighAlarmTooHigh = 1262;

// The sensor's calibration.
constexpr int kFactoryModeFailed = 1289;
constexpr int kUserModeFailed = 1290;
constexpr int kStatusUnreadable = 1291;
constexpr int kResetFailed = 1292;
constexpr int kFactoryModeSet = 1293;
constexpr int kErrorsAfterReset = 1296;
constexpr int kTrimUnitsUnreadable = 1297;
constexpr int kUnitsNotAllowed = 1298;
constexpr int kRangeUnitsUnreadable = 1299;
constexpr int kSensorTypeUnreadable = 1300;
constexpr int kCalibrationParametersInvalid = 1301;
constexpr int kLowerPointOutside = 1302;
constexpr int kUpperPointOutside = 1303;
constexpr int kStatusForbidsTrim = 1304;
constexpr int kPointFarFromReading = 1305;
constexpr int kLowerPointDone = 1306;
constexpr int kUpperPointDone = 1307;
constexpr int kLimitsUnreadable = 1330;

// The scan of a multidrop line.
constexpr int kScanColumnAddress = 2602;
constexpr int kScanKnownManufacturer = 2608;
constexpr int kScanKnownDeviceType = 2609;
constexpr int kScanConfigurable = 2610;
constexpr int kScanNotConfigurable = 2611;
constexpr int kScanNotIdentified = 2612;
constexpr int kScanProgress = 2613;
constexpr int kScanNoneFound = 2614;
constexpr int kScanFoundCount = 2621;
constexpr int kScanTagNotRead = 2622;
constexpr int kScanProgressOf = 2624;

}  // namespace tarvel
