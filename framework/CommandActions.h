#pragma once

#include <QString>

class QAction;
class QMenu;

// The program's actions by command id: the main window creates one QAction per command
// (menu text, shortcut, status-bar prompt and tool tip) and every menu, tool bar and context
// menu shows that same action. Triggering an action routes its command to the active view,
// its document, the child frame, the main window and the application.
namespace CommandActions {

// Registers `action` as the one of `id` (replacing an earlier one).
void Register(int id, QAction* action);
void Unregister(int id);
// The action of `id`, or null when the program has no such command (yet).
QAction* Find(int id);
// Adds the actions of `ids` to `menu` in order; 0 adds a separator. Ids without an action
// are left out, and so are separators that would stand first, last or twice.
void AddToMenu(QMenu* menu, std::initializer_list<int> ids);

}  // namespace CommandActions
