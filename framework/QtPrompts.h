#pragma once

#include <QString>

#include "framework/Prompts.h"

class QWidget;

// Message boxes with the application's title. Callable from any thread: from another
// thread the box is shown on the user-interface thread and the caller waits for it. While
// the program quits during a task, the task's prompts answer at once as cancelled (no
// box: Message returns, Question is No, YesNoCancel is Cancel).
class QtPrompts : public Prompts {
public:
    void Message(const std::string& text) override;
    bool Question(const std::string& text) override;
    Answer YesNoCancel(const std::string& text) override;

    static QString Title() { return QStringLiteral("OrviEdit Moving Map Editor"); }
};
