#include "document/basic_field_rules.h"

#include <algorithm>
#include <string>

#include "document/display_text.h"
#include "resources/string_ids/document.h"

namespace document {
namespace {

using tarvel::kDampingRangeMessage;
using tarvel::kInvalidCharacterMessage;
constexpr char32_t kFirstTagCharacter = U' ';
constexpr char32_t kLastTagCharacter = U'_';
constexpr int kDampingLimitSeconds = 32;

bool IsTagCharacter(char32_t ch) { return ch >= kFirstTagCharacter && ch <= kLastTagCharacter; }

void ReportInvalidTagCharacter(char32_t ch, hart::UserInteraction& ui)
{
    const QString message = LoadedText(kInvalidCharacterMessage) + QString::fromUcs4(&ch, 1);
    ui.notify(kInvalidCharacterMessage, message.toStdString(), hart::MessageIcon::None);
}

}  // namespace

QString RemoveInvalidTagCharacters(const QString& text, hart::UserInteraction& ui)
{
    std::u32string characters = text.toStdU32String();
    for (std::size_t i = 0; i < characters.size();) {
        const char32_t ch = characters[i];
        if (IsTagCharacter(ch)) {
            ++i;
            continue;
        }
        ReportInvalidTagCharacter(ch, ui);
        std::erase(characters, ch);
    }
    return QString::fromStdU32String(characters);
}

bool CheckTagToSend(std::u16string_view tag, hart::UserInteraction& ui)
{
    for (const char16_t ch : tag) {
        const char16_t typedAs =
            (ch >= u'a' && ch <= u'z') ? static_cast<char16_t>(ch - u'a' + u'A') : ch;
        if (IsTagCharacter(typedAs)) continue;
        ReportInvalidTagCharacter(ch, ui);
        return false;
    }
    return true;
}

CVeskDoc::Tag TagFromText(const QString& text)
{
    CVeskDoc::Tag tag{};
    const qsizetype length = std::min<qsizetype>(text.size(), transmitter::kTagLength);
    for (qsizetype i = 0; i < length; ++i) tag[i] = text.at(i).unicode();
    return tag;
}

bool CheckDampingLimit(const QString& text, hart::UserInteraction& ui)
{
    int wholeSeconds = 0;
    for (const QChar ch : text) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) break;
        wholeSeconds = wholeSeconds * 10 + (ch.unicode() - '0');
        if (wholeSeconds > kDampingLimitSeconds) break;
    }
    if (wholeSeconds <= kDampingLimitSeconds) return true;
    hart::NotifyString(ui, kDampingRangeMessage, hart::MessageIcon::None);
    return false;
}

bool CheckDampingToSend(float damping, hart::UserInteraction& ui)
{
    if (transmitter::IsNotSet(damping) || damping <= kDampingLimitSeconds) return true;
    hart::NotifyString(ui, kDampingRangeMessage, hart::MessageIcon::None);
    return false;
}

}  // namespace document
