#pragma once

#include <string>

#include "hart/user_interaction.h"

namespace document {

class CVeskDoc;

// Messages and questions of the calibration procedures. Each restores the normal cursor
// first: the person answering must not see the wait cursor.
void ShowMessage(CVeskDoc& doc, int messageId, hart::MessageIcon icon);
void ShowMessageText(CVeskDoc& doc, int messageId, const std::string& text, hart::MessageIcon icon);
int AskQuestion(CVeskDoc& doc, int messageId, int style);

// Restores the normal cursor when an operation ends, however it ends.
class CursorRestorer {
public:
    explicit CursorRestorer(CVeskDoc& doc) : m_doc(doc) {}
    ~CursorRestorer();
    CursorRestorer(const CursorRestorer&) = delete;
    CursorRestorer& operator=(const CursorRestorer&) = delete;

private:
    CVeskDoc& m_doc;
};

}  // namespace document
