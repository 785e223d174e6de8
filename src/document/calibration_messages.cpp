#include "document/calibration_messages.h"

#include "document/vesk_doc.h"
#include "resources/string_table.h"

namespace document {

void ShowMessageText(CVeskDoc& doc, int messageId, const std::string& text, hart::MessageIcon icon)
{
    doc.RestoreCursor();
    doc.ui().notify(messageId, text, icon);
}

void ShowMessage(CVeskDoc& doc, int messageId, hart::MessageIcon icon)
{
    ShowMessageText(doc, messageId, tarvel::LoadTextString(messageId), icon);
}

int AskQuestion(CVeskDoc& doc, int messageId, int style)
{
    doc.RestoreCursor();
    return doc.ui().ask(messageId, tarvel::LoadTextString(messageId), style);
}

CursorRestorer::~CursorRestorer() { m_doc.RestoreCursor(); }

}  // namespace document
