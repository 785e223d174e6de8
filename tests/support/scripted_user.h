#pragma once

#include <deque>
#include <string>
#include <vector>

#include "hart/user_interaction.h"

// Records every message the program shows and answers questions from a script.
class ScriptedUser : public hart::UserInteraction {
public:
    struct Message {
        int id;
        std::string text;
        hart::MessageIcon icon;
    };

    void notify(int messageId, const std::string& text, hart::MessageIcon icon) override
    {
        messages.push_back({messageId, text, icon});
    }

    int ask(int messageId, const std::string& text, int) override
    {
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
};
