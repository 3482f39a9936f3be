#pragma once

#include <QByteArray>
#include <QIODevice>

// A read-only sequential device of the bytes handed to Append(): how bytes read from a
// serial line (or from a recording) reach a reader that takes a QIODevice. Append() emits
// readyRead() at once, so a reader connected directly has read what it can before Append()
// returns.
//
// Bytes that never end a line do not pile up: while no newline is waiting, only the last
// kMaxLine bytes are kept.
class ByteFeed : public QIODevice {
    Q_OBJECT

public:
    static constexpr int kMaxLine = 1024;

    explicit ByteFeed(QObject* parent = nullptr);

    void Append(const char* data, qint64 size);
    // Forgets what was not read yet (a line cut short by a lost connection).
    void Clear();

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool canReadLine() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 readLineData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QByteArray pending_;
};
