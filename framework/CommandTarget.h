#pragma once

#include <functional>
#include <map>

// The state an update handler gives a menu entry or tool-bar button.
struct CommandUI {
    bool enabled = true;
    bool checked = false;
    bool radio = false;  // a checked entry shows a radio mark instead of a check mark
};

// Something that handles numbered commands, like an entry of a message map: documents,
// views, frames and the application. A command is offered to the active view, its
// document, the child frame, the main frame and the application, in that order; the first
// target with a handler runs it. An entry with no handler anywhere is disabled.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Runs the handler of `id`; false when this target has none.
    bool ExecuteCommand(int id);
    // Fills `ui` from the update handler of `id`. Returns false when this target has
    // neither a handler nor an update handler for `id`; a target with only a handler
    // leaves the entry enabled.
    bool UpdateCommand(int id, CommandUI& ui);
    bool HasCommand(int id) const;

protected:
    void OnCommand(int id, std::function<void()> handler);
    void OnUpdateCommand(int id, std::function<void(CommandUI&)> handler);

private:
    std::map<int, std::function<void()>> handlers_;
    std::map<int, std::function<void(CommandUI&)>> updateHandlers_;
};

// Routes a command through a chain of targets (nulls are skipped).
bool RouteCommand(std::initializer_list<CommandTarget*> chain, int id);
// The state of `id` for that chain: the first target with an update handler decides;
// without one, the entry is enabled when some target has a handler, disabled otherwise.
CommandUI RouteUpdate(std::initializer_list<CommandTarget*> chain, int id);

// Carries the commands of menus, keys, buttons and context menus to the chain of the
// active window (the editor's main window is the one router of the program).
class CommandRouter {
public:
    virtual ~CommandRouter() = default;
    // Runs `id` when its update handler enables it at this moment; false otherwise.
    virtual bool Execute(int id) = 0;
    virtual CommandUI Update(int id) = 0;
    // Something update handlers look at has changed (selection, clipboard, document, the
    // active window): whatever shows command states should catch up.
    virtual void CommandStateChanged() {}

    // The program's router, or null.
    static CommandRouter* Current();
    // Installs `router` (not owned; null for none) and returns the previous one.
    static CommandRouter* SetCurrent(CommandRouter* router);
};
