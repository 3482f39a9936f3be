#include "framework/CommandTarget.h"

bool CommandTarget::ExecuteCommand(int id)
{
    auto it = handlers_.find(id);
    if (it == handlers_.end()) {
        return false;
    }
    // Copied: a handler may replace the handlers of its own target.
    std::function<void()> handler = it->second;
    handler();
    return true;
}

bool CommandTarget::UpdateCommand(int id, CommandUI& ui)
{
    auto it = updateHandlers_.find(id);
    if (it != updateHandlers_.end()) {
        it->second(ui);
        return true;
    }
    return handlers_.count(id) > 0;
}

bool CommandTarget::HasCommand(int id) const
{
    return handlers_.count(id) > 0 || updateHandlers_.count(id) > 0;
}

void CommandTarget::OnCommand(int id, std::function<void()> handler)
{
    handlers_[id] = std::move(handler);
}

void CommandTarget::OnUpdateCommand(int id, std::function<void(CommandUI&)> handler)
{
    updateHandlers_[id] = std::move(handler);
}

bool RouteCommand(std::initializer_list<CommandTarget*> chain, int id)
{
    for (CommandTarget* target : chain) {
        if (target && target->ExecuteCommand(id)) {
            return true;
        }
    }
    return false;
}

CommandUI RouteUpdate(std::initializer_list<CommandTarget*> chain, int id)
{
    for (CommandTarget* target : chain) {
        CommandUI ui;
        if (target && target->UpdateCommand(id, ui)) {
            return ui;
        }
    }
    CommandUI none;
    none.enabled = false;
    return none;
}

namespace {

CommandRouter* g_router = nullptr;

}  // namespace

CommandRouter* CommandRouter::Current()
{
    return g_router;
}

CommandRouter* CommandRouter::SetCurrent(CommandRouter* router)
{
    CommandRouter* previous = g_router;
    g_router = router;
    return previous;
}
