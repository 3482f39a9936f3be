#pragma once

#include <string>

// Message boxes with the application's title. The program has one current implementation:
// message boxes in the editor, standard error in the command-line tool, a recorder in tests.
// Core code shows messages only through this.
class Prompts {
public:
    virtual ~Prompts() = default;
    // A message with an OK button; returns when it was acknowledged.
    virtual void Message(const std::string& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool Question(const std::string& text) = 0;
    // A question with Yes, No and Cancel buttons. Without a Cancel of its own, an
    // implementation answers as Question does.
    enum class Answer { Yes, No, Cancel };
    virtual Answer YesNoCancel(const std::string& text)
    {
        return Question(text) ? Answer::Yes : Answer::No;
    }

    // The current implementation; until one is installed, messages go to standard error
    // and questions are answered No.
    static Prompts& Current();
    // Installs `prompts` (not owned; null restores the default) and returns the previous one.
    static Prompts* SetCurrent(Prompts* prompts);

    // For the life of this object, Current() on the calling thread is `prompts` (a thread
    // that works on its own, and says what happened in its own way, not in message boxes).
    class ForThisThread {
    public:
        explicit ForThisThread(Prompts& prompts);
        ~ForThisThread();
        ForThisThread(const ForThisThread&) = delete;
        ForThisThread& operator=(const ForThisThread&) = delete;

    private:
        Prompts* previous_;
    };
};
