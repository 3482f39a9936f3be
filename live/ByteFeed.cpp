#include "live/ByteFeed.h"

#include <cstring>

ByteFeed::ByteFeed(QObject* parent) : QIODevice(parent)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void ByteFeed::Append(const char* data, qint64 size)
{
    if (size <= 0) {
        return;
    }
    pending_.append(data, size);
    if (pending_.size() > 4 * kMaxLine && !pending_.contains('\n')) {
        pending_.remove(0, pending_.size() - kMaxLine);
    }
    emit readyRead();
}

void ByteFeed::Clear()
{
    pending_.clear();
}

qint64 ByteFeed::bytesAvailable() const
{
    return pending_.size() + QIODevice::bytesAvailable();
}

bool ByteFeed::canReadLine() const
{
    return pending_.contains('\n') || QIODevice::canReadLine();
}

qint64 ByteFeed::readData(char* data, qint64 maxSize)
{
    qint64 n = qMin<qint64>(maxSize, pending_.size());
    std::memcpy(data, pending_.constData(), static_cast<size_t>(n));
    pending_.remove(0, n);
    return n;
}

qint64 ByteFeed::readLineData(char* data, qint64 maxSize)
{
    qsizetype end = pending_.indexOf('\n');
    return readData(data, end < 0 ? maxSize : qMin<qint64>(maxSize, end + 1));
}

qint64 ByteFeed::writeData(const char*, qint64)
{
    return -1;
}
