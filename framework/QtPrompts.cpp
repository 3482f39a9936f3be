#include "framework/QtPrompts.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "framework/QtTaskRunner.h"

namespace {

// While a task runs, its progress dialog: the box shows above it and takes input.
QWidget* Owner()
{
    if (QWidget* dialog = QtTaskRunner::PromptOwner()) {
        return dialog;
    }
    QWidget* owner = QApplication::activeModalWidget();
    return owner ? owner : QApplication::activeWindow();
}

// Runs `show` on the user-interface thread and returns its result.
template <class Show>
auto OnUserInterfaceThread(Show show)
{
    decltype(show()) result{};
    if (QThread::currentThread() == qApp->thread()) {
        return show();
    }
    QMetaObject::invokeMethod(
        qApp, [&] { result = show(); }, Qt::BlockingQueuedConnection);
    return result;
}

}  // namespace

void QtPrompts::Message(const std::string& text)
{
    OnUserInterfaceThread([&] {
        if (!QtTaskRunner::PromptsCancelled()) {
            QMessageBox::information(Owner(), Title(), QString::fromStdString(text));
        }
        return 0;
    });
}

bool QtPrompts::Question(const std::string& text)
{
    return OnUserInterfaceThread([&] {
        return !QtTaskRunner::PromptsCancelled() &&
               QMessageBox::question(Owner(), Title(), QString::fromStdString(text),
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
}

Prompts::Answer QtPrompts::YesNoCancel(const std::string& text)
{
    return OnUserInterfaceThread([&] {
        if (QtTaskRunner::PromptsCancelled()) {
            return Answer::Cancel;
        }
        switch (QMessageBox::question(Owner(), Title(), QString::fromStdString(text),
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                      QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    });
}
