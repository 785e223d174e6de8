#pragma once

#include "hart/user_interaction.h"

namespace document {

// A send check that fails: its error message, and false for the caller to return.
inline bool RefuseSend(hart::UserInteraction& ui, int messageId)
{
    hart::NotifyString(ui, messageId, hart::MessageIcon::Error);
    return false;
}

}  // namespace document
