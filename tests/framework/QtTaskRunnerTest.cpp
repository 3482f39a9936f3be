#include "framework/QtTaskRunner.h"

#include <atomic>
#include <stdexcept>

#include <gtest/gtest.h>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "framework/ArchiveException.h"
#include "framework/QtPrompts.h"
#include "tests/MessageBoxAnswerer.h"
#include "tests/RecordingPrompts.h"

namespace {

// A window with a text field and a button, active, for a runner to block.
class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(&edit);
        layout->addWidget(&button);
        QObject::connect(&button, &QPushButton::clicked, [this] { ++clicks; });
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        edit.setFocus();
    }
    // Runs `task` once `untilSet` is set, which happens at once or from a timer.
    int RunUntil(std::atomic<bool>& untilSet, std::function<void()> cancel = {})
    {
        return runner.Run(
            [&untilSet] {
                while (!untilSet) {
                    QThread::msleep(5);
                }
                return 7;
            },
            std::move(cancel));
    }

    QWidget window;
    QLineEdit edit;
    QPushButton button{QStringLiteral("Knopf")};
    int clicks = 0;
    QtTaskRunner runner{&window};
};

TEST_F(RunnerTest, TheWindowsTakeNoInputFromTheTasksFirstMomentAndNoSecondTaskRuns)
{
    std::atomic<bool> done{false};
    int second = 0;
    QTimer::singleShot(50, [&] {
        // Well before the progress dialog shows.
        QTest::keyClick(window.windowHandle(), Qt::Key_X);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                          button.mapTo(&window, button.rect().center()));
        second = runner.Run([] { return 1; }, {});
        done = true;
    });
    EXPECT_EQ(RunUntil(done), 7);
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(second, TASK_REFUSED);
    EXPECT_FALSE(runner.Busy());

    QTest::keyClick(window.windowHandle(), Qt::Key_Y);
    EXPECT_EQ(edit.text(), "y") << "input flows again after the task";
}

TEST_F(RunnerTest, AMessageOfTheTaskShowsAboveTheProgressDialogAndTakesKeys)
{
    QtPrompts boxes;
    Prompts* previous = Prompts::SetCurrent(&boxes);
    MessageBoxAnswerer answerer(Qt::Key_Return);
    int result = runner.Run(
        [] {
            Prompts::Current().Message("Error No 2 while opening Port COM1:");
            return Prompts::Current().Question("Systemzeit stellen?") ? 1 : 2;
        },
        [] {});
    Prompts::SetCurrent(previous);
    EXPECT_EQ(answerer.texts,
              (QStringList{"Error No 2 while opening Port COM1:", "Systemzeit stellen?"}));
    EXPECT_EQ(answerer.closedByForce, 0) << "a box behind the progress dialog takes no keys";
    EXPECT_EQ(result, 1) << "Return answers Yes, and the task went on";
}

TEST_F(RunnerTest, EscapeInTheProgressDialogCancels)
{
    std::atomic<bool> cancelled{false};
    QTimer::singleShot(QtTaskRunner::kDialogDelayMs + 100, [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
    });
    EXPECT_EQ(RunUntil(cancelled, [&] { cancelled = true; }), 7);
}

// The event loop ends only when the quit goes on after the task.
TEST_F(RunnerTest, AQuitWhileTheTaskWaitsForAnAnswerCancelsItAndTakesEffectAfterIt)
{
    QtPrompts boxes;
    Prompts* previous = Prompts::SetCurrent(&boxes);
    for (auto [legend, quit] : std::vector<std::pair<const char*, std::function<void()>>>{
             {"window system closes main window", [this] { window.windowHandle()->close(); }},
             {"QCoreApplication::quit", [] { QCoreApplication::quit(); }},
             {"QCoreApplication::exit", [] { QCoreApplication::exit(0); }}}) {
        window.show();
        std::atomic<bool> cancelled{false};
        int result = -1;
        QTimer::singleShot(0, [&] {
            result = runner.Run(
                [&] {
                    bool first = Prompts::Current().Question("Weiter?");
                    return first + 2 * Prompts::Current().Question("Wirklich?") + 4 * cancelled;
                },
                [&] { cancelled = true; });
        });
        QTimer::singleShot(200, quit);  // the first question is open
        QApplication::exec();
        EXPECT_EQ(result, 4) << legend << ": both questions answered No, the task cancelled";
    }
    Prompts::SetCurrent(previous);
}

TEST(TaskRunner, ATaskThatThrowsEndsWithItsErrorShown)
{
    struct Case {
        const char* legend;
        std::function<int()> task;
        std::string message;
    } cases[] = {
        {"plain error", []() -> int { throw std::runtime_error("kaputt"); }, "kaputt"},
        {"archive error",
         []() -> int { throw ArchiveException(ArchiveException::BadFormat, "tag"); },
         "Unexpected file format."},
        {"out of memory", []() -> int { throw std::bad_alloc(); },
         "Nicht genügend Arbeitsspeicher."},
    };
    QtTaskRunner runner;
    for (const Case& c : cases) {
        RecordingPrompts prompts;
        Prompts* previous = Prompts::SetCurrent(&prompts);
        EXPECT_EQ(runner.Run(c.task, {}), TASK_FAILED) << c.legend;
        Prompts::SetCurrent(previous);
        EXPECT_EQ(prompts.messages, std::vector<std::string>{c.message}) << c.legend;
    }
}

}  // namespace
