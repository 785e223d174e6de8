#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "hart/user_interaction.h"

// Records every message the program shows and answers questions from a script. A command's
// worker and the GUI thread may both speak at once (a trace failure during a check).
class ScriptedUser : public hart::UserInteraction {
public:
    struct Message {
        int id;
        std::string text;
        hart::MessageIcon icon;
    };

    void notify(int messageId, const std::string& text, hart::MessageIcon icon) override
    {
        const std::lock_guard lock(m_speaking);
        messages.push_back({messageId, text, icon});
    }

    int ask(int messageId, const std::string& text, int) override
    {
        const std::lock_guard lock(m_speaking);
        questions.push_back({messageId, text, hart::MessageIcon::None});
        if (answers.empty()) return 2;  // Cancel when the script has run out
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<int> ids() const
    {
        std::vector<int> out;
        for (const auto& m : messages) out.push_back(m.id);
        return out;
    }

    std::vector<Message> messages;
    std::vector<Message> questions;
    std::deque<int> answers;

private:
    std::mutex m_speaking;
};
