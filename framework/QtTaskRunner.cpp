#include "framework/QtTaskRunner.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QThread>
#include <thread>

#include "framework/QtPrompts.h"

int QtTaskRunner::Run(const std::function<int()>& task, const std::function<void()>& cancel)
{
    // A task that starts another one runs the inner one itself.
    if (running_ || QThread::currentThread() != qApp->thread()) {
        return task();
    }
    running_ = true;
    QProgressDialog dialog(QStringLiteral("Verbindung zum GPS ..."),
                           cancel ? QStringLiteral("Abbrechen") : QString(), 0, 0, parent_);
    dialog.setWindowTitle(QtPrompts::Title());
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(400);
    if (!cancel) {
        dialog.setCancelButton(nullptr);
    }
    connect(&dialog, &QProgressDialog::canceled, &dialog, [&dialog, &cancel] {
        dialog.setLabelText(QStringLiteral("Wird abgebrochen ..."));
        cancel();
    });
    dialog_ = &dialog;
    dialog.setValue(0);

    QEventLoop loop;
    int result = 0;
    std::thread worker([&] {
        result = task();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    dialog_ = nullptr;
    running_ = false;
    return result;
}

void QtTaskRunner::Progress(const QString& text)
{
    QMetaObject::invokeMethod(this, [this, text] {
        if (!dialog_) {
            return;
        }
        static const QRegularExpression kCounts(QStringLiteral("^(\\d+) / (\\d+)$"));
        QRegularExpressionMatch m = kCounts.match(text);
        if (m.hasMatch()) {
            dialog_->setMaximum(m.captured(2).toInt());
            dialog_->setValue(m.captured(1).toInt());
        }
        dialog_->setLabelText(text);
    });
}
