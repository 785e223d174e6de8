#pragma once

namespace document {

// Messages of the document framework itself; they have no number in the string table.
constexpr int kNoStringId = -1;
inline constexpr const char* kUnexpectedFileFormat = "Unexpected file format.";
inline constexpr const char* kFailedToOpenDocument = "Failed to open document.";
inline constexpr const char* kFailedToSaveDocument = "Failed to save document.";
// Said after kFailedToSaveDocument, on its own line: %1 is the file, %2 the reason.
inline constexpr const char* kSaveFailureReason = "\"%1\": %2";

}  // namespace document
