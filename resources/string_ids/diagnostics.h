#pragma once

// The numbered texts of the diagnostics windows: frame trace, trend and comparison.

namespace tarvel {

// The frame trace window.
constexpr int kTraceWindowTitle = 2101;
constexpr int kTraceSaveAsText = 2108;
constexpr int kTraceClear = 2109;
constexpr int kTracePause = 2110;
constexpr int kTraceFollow = 2111;
constexpr int kTraceTextFiles = 2112;
constexpr int kTraceCannotSave = 2113;

// The frame trace's columns.
constexpr int kTraceFirstColumnHeader = 2102;  // "Время" … "Расшифровка", in column order

// The trend window.
constexpr int kTrendSaveCsvCaption = 1452;
constexpr int kTrendSavePngCaption = 1453;
constexpr int kTrendWindowTitle = 1460;
constexpr int kTrendCsvFilter = 1461;
constexpr int kTrendPngFilter = 1462;
constexpr int kTrendEmptyHint = 1478;
constexpr int kTrendFailedCycleLabel = 1479;
constexpr int kSensorTempLabel = 1117;
constexpr int kLoopCurrentLabel = 1118;

// The comparison window.
constexpr int kCompareWindowTitle = 1456;
constexpr int kCompareLabelColumn = 1457;
constexpr int kCompareFileColumn = 1458;
constexpr int kCompareDeviceColumn = 1459;
constexpr int kCompareCloseCaption = 1463;

}  // namespace tarvel
