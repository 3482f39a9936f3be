#include "framework/CommandActions.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

#include "framework/CommandTarget.h"

namespace {

TEST(CommandActions, MenusLeaveOutMissingCommandsAndStraySeparators)
{
    QAction a("A"), b("B");
    CommandActions::Register(9001, &a);
    CommandActions::Register(9002, &b);
    QMenu menu;
    CommandActions::AddToMenu(&menu, {0, 9001, 0, 0, 9999, 0, 9002, 0, 9998});
    ASSERT_EQ(menu.actions().size(), 3);
    EXPECT_EQ(menu.actions()[0], &a);
    EXPECT_TRUE(menu.actions()[1]->isSeparator());
    EXPECT_EQ(menu.actions()[2], &b);
    CommandActions::Unregister(9001);
    EXPECT_EQ(CommandActions::Find(9001), nullptr);
    CommandActions::Unregister(9002);
}

class Target : public CommandTarget {
public:
    int runs = 0;
    void Handle(int id) { OnCommand(id, [this] { ++runs; }); }
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

}  // namespace
