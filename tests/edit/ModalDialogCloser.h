#pragma once

#include <functional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

// Drives the next modal dialog that a command runs: while the closer lives, it polls for an
// application-modal dialog, hands it to `action` (which may accept it) and rejects it when it
// is still open afterwards. A dialog that is still open after 5 s is rejected as well, so a
// test never hangs on exec().
class ModalDialogCloser {
public:
    explicit ModalDialogCloser(std::function<void(QDialog&)> action) : action_(std::move(action))
    {
        clock_.start();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    // The number of dialogs handled.
    int seen() const { return seen_; }

private:
    void Poll()
    {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            return;
        }
        ++seen_;
        if (clock_.elapsed() < 5000) {
            action_(*dialog);
        }
        if (dialog->isVisible()) {
            dialog->reject();
        }
    }

    std::function<void(QDialog&)> action_;
    QTimer timer_;
    QElapsedTimer clock_;
    int seen_ = 0;
};

// The child of a dialog by object name; a missing one fails the test and gives nullptr.
template <class Widget>
Widget* Child(QDialog& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (!widget) {
        ADD_FAILURE() << "no child " << name;
    }
    return widget;
}
