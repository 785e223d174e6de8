#pragma once

namespace document {
class CVeskDoc;
}

namespace cli {

class TerminalUser;

// The 24 lines of the printed report, then "! label" for each flagged value.
void PrintConfiguration(const document::CVeskDoc& doc, TerminalUser& user);
// Only the "! label" lines.
void PrintFailedValues(const document::CVeskDoc& doc, TerminalUser& user);
// The Information section's lines.
void PrintInformation(const document::CVeskDoc& doc, TerminalUser& user);

}  // namespace cli
