#include "framework/CommandActions.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "framework/CommandTarget.h"

namespace {

const char* const kCommandProperty = "orviCommand";
const char* (*g_prompts)(int) = nullptr;

}  // namespace

namespace CommandActions {

void SetPrompts(const char* (*prompts)(int id))
{
    g_prompts = prompts;
}

QAction* CreateAction(int id, const QString& text, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setProperty(kCommandProperty, id);
    if (const char* prompt = g_prompts ? g_prompts(id) : nullptr) {
        QString both = QString::fromUtf8(prompt);
        action->setStatusTip(both.section('\n', 0, 0));
        action->setToolTip(both.section('\n', 1, 1));
    }
    QObject::connect(action, &QAction::triggered, action, [id] {
        if (CommandRouter* router = CommandRouter::Current()) {
            router->Execute(id);
        }
    });
    return action;
}

int CommandOf(const QAction* action)
{
    return action ? action->property(kCommandProperty).toInt() : 0;
}

void FillMenu(QMenu* menu, std::initializer_list<MenuEntry> entries)
{
    bool separatorPending = false;
    for (const MenuEntry& entry : entries) {
        if (entry.id == 0) {
            separatorPending = !menu->actions().isEmpty();
            continue;
        }
        if (separatorPending) {
            menu->addSeparator();
            separatorPending = false;
        }
        menu->addAction(CreateAction(entry.id, QString::fromUtf8(entry.text), menu));
    }
}

void Refresh(const QList<QAction*>& actions)
{
    CommandRouter* router = CommandRouter::Current();
    for (QAction* action : actions) {
        int id = CommandOf(action);
        if (id == 0) {
            continue;
        }
        CommandUI ui;
        if (router) {
            ui = router->Update(id);
        } else {
            ui.enabled = false;
        }
        action->setEnabled(ui.enabled);
        action->setCheckable(ui.checked || ui.radio || action->isCheckable());
        if (ui.radio && !action->actionGroup()) {
            // An action in an exclusive group shows a radio mark instead of a check mark.
            auto* group = new QActionGroup(action);
            group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            group->addAction(action);
        }
        action->setChecked(ui.checked);
    }
}

void StateChanged()
{
    if (CommandRouter* router = CommandRouter::Current()) {
        router->CommandStateChanged();
    }
}

}  // namespace CommandActions
