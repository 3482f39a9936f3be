#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>

// Answers the message boxes of a test as a user does, through the window system's input
// path, which drops the input of a window that a modal window blocks. While it lives it
// polls for a visible box and, once a progress dialog is visible too (when `afterProgress`
// asks for it), sends `key` to the box's window. It keeps each box's text and whether the
// progress dialog was up. A box still open after 5 s is closed, so a test never hangs on it.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(Qt::Key key = Qt::Key_Return, bool afterProgress = true)
        : key_(key), afterProgress_(afterProgress)
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    QStringList texts;      // of the boxes answered
    int closedByForce = 0;  // boxes that did not take the key

private:
    void Poll()
    {
        QMessageBox* box = nullptr;
        bool progress = false;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) {
                continue;
            }
            if (auto* b = qobject_cast<QMessageBox*>(w)) {
                box = b;
            }
            progress = progress || qobject_cast<QProgressDialog*>(w);
        }
        if (!box) {
            clock_.invalidate();
            return;
        }
        if (!clock_.isValid()) {
            clock_.start();
        }
        if (clock_.elapsed() > 5000) {
            ++closedByForce;
            box->hide();  // ends its exec() even when the box refuses to close
            return;
        }
        if (box->windowHandle() && (progress || !afterProgress_) &&
            !box->property("answered").toBool()) {
            box->setProperty("answered", true);
            texts << box->text();
            QTest::keyClick(box->windowHandle(), key_);
        }
    }

    Qt::Key key_;
    bool afterProgress_;
    QTimer timer_;
    QElapsedTimer clock_;
};
