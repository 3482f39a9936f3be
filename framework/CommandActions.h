#pragma once

#include <QList>
#include <QString>

class QAction;
class QMenu;
class QObject;

// Actions that stand for numbered commands: menus, tool bars and context menus are made of
// them. Triggering one runs its command through the program's CommandRouter, which checks
// the command's update handler first; Refresh shows the handlers' state.
namespace CommandActions {

// An entry of a menu: a command and its text, with the keys shown after a tab
// ("&Copy selection\tCtrl+C"). Id 0 is a separator.
struct MenuEntry {
    int id;
    const char* text;
};

// Where actions find their status-bar prompt and tool tip: a function giving
// "prompt\ntool tip" for a command id (null or "" for none). Set once by the program.
void SetPrompts(const char* (*prompts)(int id));
// Makes the action of command `id`, owned by `parent`, with its prompt and tool tip.
QAction* CreateAction(int id, const QString& text, QObject* parent);
// The command of an action made by CreateAction; 0 for any other action.
int CommandOf(const QAction* action);
// Adds actions for `entries` to `menu`; separators only between entries.
void FillMenu(QMenu* menu, std::initializer_list<MenuEntry> entries);
// Sets enabled, checked and the radio mark of each command action from its update
// handler, as the router reports it; without a router the actions are disabled.
void Refresh(const QList<QAction*>& actions);
// Tells the router that command states may have changed.
void StateChanged();

}  // namespace CommandActions
