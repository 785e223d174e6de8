#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <set>

#include "document/question_box.h"
#include "hart/user_interaction.h"

namespace cli {

// The person at the terminal: every notice and question is one line "[ID] text" on
// standard output; questions take the scripted answers first, then ask the terminal, and
// without a terminal get their negative button.
class TerminalUser final : public hart::UserInteraction {
public:
    TerminalUser(std::map<int, std::deque<document::Button>> answers, std::FILE* out = stdout,
                 std::FILE* in = stdin, bool interactive = false);

    void notify(int messageId, const std::string& text, hart::MessageIcon icon) override;
    int ask(int messageId, const std::string& text, int style) override;

    // A plain output line, serialised with the messages (the monitoring worker prints too).
    void printLine(const std::string& line);

    // Whether the notice with this id has been shown.
    bool noticed(int messageId);

private:
    static std::string Prefix(int messageId, const std::string& text);
    document::Button AskTerminal(const std::string& line, int style);

    std::map<int, std::deque<document::Button>> m_answers;
    std::FILE* m_out;
    std::FILE* m_in;
    bool m_interactive;
    std::set<int> m_noticed;
    std::recursive_mutex m_mutex;
};

}  // namespace cli
