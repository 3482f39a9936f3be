#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types `text` into `widget` as key presses; characters without a key of their own come as
// text only.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}
