#include "basic_field_rules.h"

#include <QList>

#include "display_text.h"

namespace document {
namespace {

constexpr int kInvalidCharacterMessage = 902;
constexpr int kDampingRangeMessage = 901;
constexpr char32_t kFirstTagCharacter = U' ';
constexpr char32_t kLastTagCharacter = U'_';
constexpr int kDampingLimitSeconds = 32;

bool IsTagCharacter(char32_t ch) { return ch >= kFirstTagCharacter && ch <= kLastTagCharacter; }

}  // namespace

QString RemoveInvalidTagCharacters(const QString& text, hart::UserInteraction& ui)
{
    QList<char32_t> characters = text.toUcs4();
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const char32_t ch = characters.at(i);
        if (IsTagCharacter(ch)) continue;
        const QString message = LoadedText(kInvalidCharacterMessage) + QString::fromUcs4(&ch, 1);
        ui.notify(kInvalidCharacterMessage, message.toStdString(), hart::MessageIcon::None);
        characters.removeAll(ch);
        --i;
    }
    return QString::fromUcs4(characters.constData(), characters.size());
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

}  // namespace document
