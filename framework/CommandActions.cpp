#include "framework/CommandActions.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QPointer>

namespace {

QHash<int, QPointer<QAction>>& Registry()
{
    static QHash<int, QPointer<QAction>> registry;
    return registry;
}

}  // namespace

namespace CommandActions {

void Register(int id, QAction* action)
{
    Registry().insert(id, action);
}

void Unregister(int id)
{
    Registry().remove(id);
}

QAction* Find(int id)
{
    return Registry().value(id).data();
}

void AddToMenu(QMenu* menu, std::initializer_list<int> ids)
{
    bool separatorPending = false;
    for (int id : ids) {
        if (id == 0) {
            separatorPending = !menu->actions().isEmpty();
            continue;
        }
        QAction* action = Find(id);
        if (!action) {
            continue;
        }
        if (separatorPending) {
            menu->addSeparator();
            separatorPending = false;
        }
        menu->addAction(action);
    }
}

}  // namespace CommandActions
