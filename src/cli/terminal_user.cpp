#include "cli/terminal_user.h"

#include <algorithm>
#include <string>

#include "resources/string_table.h"

namespace cli {

using document::Button;

TerminalUser::TerminalUser(std::map<int, std::deque<Button>> answers, std::FILE* out, std::FILE* in,
                           bool interactive)
    : m_answers(std::move(answers)), m_out(out), m_in(in), m_interactive(interactive)
{
}

std::string TerminalUser::Prefix(int messageId, const std::string& text)
{
    std::string oneLine = text;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    const std::string id = messageId < 0 ? std::string("-") : std::to_string(messageId);
    return "[" + id + "] " + oneLine;
}

void TerminalUser::printLine(const std::string& line)
{
    std::lock_guard lock(m_mutex);
    std::fputs(line.c_str(), m_out);
    std::fputc('\n', m_out);
    std::fflush(m_out);
}

void TerminalUser::notify(int messageId, const std::string& text, hart::MessageIcon)
{
    std::lock_guard lock(m_mutex);
    m_noticed.insert(messageId);
    printLine(Prefix(messageId, text));
}

bool TerminalUser::noticed(int messageId)
{
    std::lock_guard lock(m_mutex);
    return m_noticed.count(messageId) != 0;
}

int TerminalUser::ask(int messageId, const std::string& text, int style)
{
    std::lock_guard lock(m_mutex);
    const std::string line = Prefix(messageId, text);
    auto& scripted = m_answers[messageId];
    Button button;
    std::string note;
    if (!scripted.empty()) {
        button = scripted.front();
        scripted.pop_front();
    } else if (m_interactive) {
        button = AskTerminal(line, style);
    } else {
        button = document::NegativeButton(style);
        note = " (нет ответа)";
    }
    printLine(line + " -> " + tarvel::LoadTextString(document::ButtonCaptionId(button)) + note);
    return button;
}

Button TerminalUser::AskTerminal(const std::string& line, int style)
{
    const auto buttons = document::ButtonsOfStyle(style);
    for (;;) {
        std::fprintf(m_out, "%s\n", line.c_str());
        for (std::size_t i = 0; i < buttons.size(); ++i)
            std::fprintf(m_out, "  %zu) %s\n", i + 1,
                         tarvel::LoadTextString(document::ButtonCaptionId(buttons[i])).c_str());
        std::fprintf(m_out, "> ");
        std::fflush(m_out);
        char reply[32];
        if (std::fgets(reply, sizeof reply, m_in) == nullptr)
            return document::NegativeButton(style);
        const int choice = std::atoi(reply);
        if (choice >= 1 && choice <= static_cast<int>(buttons.size()))
            return buttons[static_cast<std::size_t>(choice - 1)];
    }
}

}  // namespace cli
