#include "hart/user_interaction.h"

#include "resources/string_table.h"

namespace hart {

void NotifyString(UserInteraction& ui, int messageId, MessageIcon icon)
{
    ui.notify(messageId, tarvel::LoadTextString(messageId), icon);
}

}  // namespace hart
