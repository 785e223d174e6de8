#pragma once

#include <string_view>

#include <QString>

#include "document/vesk_doc.h"
#include "hart/user_interaction.h"

namespace document {

// A tag holds upper-case HART characters only (space to underscore). Each other character
// is reported once, in order of appearance (string 902 with the character appended), and
// every occurrence of it is removed.
QString RemoveInvalidTagCharacters(const QString& text, hart::UserInteraction& ui);

// The same check on a tag already stored (from a file, say), as the send button runs it:
// the first character the field would not have kept is reported as the field reports it
// (902) and answers false. A lower-case Latin letter passes: the field takes it as its
// capital, and the transmitter stores it so.
bool CheckTagToSend(std::u16string_view tag, hart::UserInteraction& ui);

// The first eight characters, zero-filled.
CVeskDoc::Tag TagFromText(const QString& text);

// When the damping field is left: a whole-second part above 32 is reported (string 901)
// and answers false, so the page returns the focus to the field. 32.9 passes.
bool CheckDampingLimit(const QString& text, hart::UserInteraction& ui);

// Before a send: a damping above 32 s (what the field lets through, or what a file holds) is
// refused with string 901; the transmitter would refuse it after the other values were
// written. Not set passes: it is not sent.
bool CheckDampingToSend(float damping, hart::UserInteraction& ui);

}  // namespace document
