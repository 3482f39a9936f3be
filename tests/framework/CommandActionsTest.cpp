#include "framework/CommandActions.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenu>

#include "framework/CommandTarget.h"

namespace {

class Target : public CommandTarget {
public:
    int runs = 0;
    void Handle(int id)
    {
        OnCommand(id, [this] { ++runs; });
    }
    void Update(int id, bool enabled)
    {
        OnUpdateCommand(id, [enabled](CommandUI& ui) {
            ui.enabled = enabled;
            ui.checked = true;
        });
    }
};

TEST(CommandRouting, TheFirstTargetWithAHandlerRunsAndDecides)
{
    Target view, document, frame;
    document.Handle(1);
    frame.Handle(1);
    EXPECT_TRUE(RouteCommand({&view, nullptr, &document, &frame}, 1));
    EXPECT_EQ(document.runs, 1);
    EXPECT_EQ(frame.runs, 0);
    EXPECT_FALSE(RouteCommand({&view, &document}, 2));

    EXPECT_TRUE(RouteUpdate({&view, &document}, 1).enabled);   // a handler enables
    EXPECT_FALSE(RouteUpdate({&view, &document}, 2).enabled);  // nobody handles it
    view.Update(1, false);
    CommandUI ui = RouteUpdate({&view, &document}, 1);
    EXPECT_FALSE(ui.enabled);
    EXPECT_TRUE(ui.checked);
}

// A router over one target, as the main window routes over the active window's chain.
class OneTargetRouter : public CommandRouter {
public:
    explicit OneTargetRouter(CommandTarget& target) : target_(target) {}
    bool Execute(int id) override { return Update(id).enabled && target_.ExecuteCommand(id); }
    CommandUI Update(int id) override { return RouteUpdate({&target_}, id); }

private:
    CommandTarget& target_;
};

TEST(CommandActions, MenuActionsRunThroughTheRouterAndShowItsState)
{
    Target target;
    target.Handle(9001);
    target.Handle(9002);
    target.Update(9002, false);
    QMenu menu;
    CommandActions::FillMenu(&menu, {{0, nullptr},
                                     {9001, "&One"},
                                     {0, nullptr},
                                     {0, nullptr},
                                     {9002, "&Two\tCtrl+T"},
                                     {0, nullptr}});
    ASSERT_EQ(menu.actions().size(), 3) << "separators only between entries";
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    QAction* one = menu.actions()[0];
    QAction* two = menu.actions()[2];

    CommandActions::Refresh(menu.actions());
    EXPECT_FALSE(one->isEnabled()) << "without a router nothing runs";
    one->trigger();
    EXPECT_EQ(target.runs, 0);

    OneTargetRouter router(target);
    CommandRouter* previous = CommandRouter::SetCurrent(&router);
    CommandActions::Refresh(menu.actions());
    EXPECT_TRUE(one->isEnabled());
    EXPECT_FALSE(two->isEnabled());
    EXPECT_TRUE(two->isChecked());
    one->trigger();
    EXPECT_EQ(target.runs, 1);
    CommandRouter::SetCurrent(previous);
}

}  // namespace
