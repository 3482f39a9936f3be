#pragma once

#include <deque>
#include <string>
#include <vector>

#include "framework/Prompts.h"

// Records messages and answers questions from a list (No when it runs out).
class RecordingPrompts : public Prompts {
public:
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;

    void Message(const std::string& text) override { messages.push_back(text); }
    bool Question(const std::string& text) override
    {
        questions.push_back(text);
        if (answers.empty()) {
            return false;
        }
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
