#include "live/NmeaReader.h"

#include <QNmeaPositionInfoSource>
#include <QNmeaSatelliteInfoSource>
#include <cmath>
#include <cstring>

#include "link/NmeaSentences.h"

namespace {

// The horizontal error of Garmin's "$PGRME,hpe,M,vpe,M,epe,M*hh" (metres; the line may end
// in CR LF); NaN for another sentence, a wrong checksum, or no number of metres.
double PgrmeHorizontalError(const char* sentence, int size)
{
    const QByteArray line = QByteArray(sentence, size).trimmed();
    const qsizetype star = line.lastIndexOf('*');
    if (!line.startsWith("$PGRME,") || star < 0 || line.size() != star + 3) {
        return qQNaN();
    }
    bool ok = false;
    const int checksum = line.mid(star + 1).toInt(&ok, 16);
    const QByteArray body = line.mid(1, star - 1);
    if (!ok || checksum != NmeaChecksum(std::string_view(body.constData(), body.size()))) {
        return qQNaN();
    }
    const QList<QByteArray> fields = body.split(',');
    const double metres = fields.size() > 2 && fields[2] == "M" ? fields[1].toDouble(&ok) : -1;
    return ok && std::isfinite(metres) && metres >= 0 ? metres : qQNaN();
}

}  // namespace

// Qt's sentence reader, which hands every sentence it read on to the NmeaReader and keeps
// nothing itself: Qt's grouping into updates is not used.
class NmeaReader::SentenceParser : public QNmeaPositionInfoSource {
public:
    explicit SentenceParser(NmeaReader& reader)
        : QNmeaPositionInfoSource(QNmeaPositionInfoSource::RealTimeMode), reader_(reader)
    {
    }

protected:
    bool parsePosInfoFromNmeaData(const char* data, int size, QGeoPositionInfo* info,
                                  bool* hasFix) override
    {
        const char* start = nullptr;
        for (int i = size - 1; i >= 0 && !start; --i) {
            start = data[i] == '$' ? data + i : nullptr;
        }
        if (!start) {
            return false;
        }
        int length = size - static_cast<int>(start - data);
        if (length > 1 && start[1] == 'P') {
            reader_.TakeProprietary(start, length);  // not Qt's: $PGRMC would pass for an RMC
            *hasFix = false;
            return false;
        }
        bool fix = false;
        if (QNmeaPositionInfoSource::parsePosInfoFromNmeaData(start, length, info, &fix)) {
            reader_.Take(start, length, *info, fix);
        }
        *hasFix = false;
        return false;
    }

private:
    NmeaReader& reader_;
};

// Qt's reader of the satellites a GSA names, used without its device.
class NmeaReader::GsaParser : public QNmeaSatelliteInfoSource {
public:
    GsaParser() : QNmeaSatelliteInfoSource(QNmeaSatelliteInfoSource::UpdateMode::RealTimeMode) {}

    // The system of the sentence's satellites (QGeoSatelliteInfo::Undefined when it is
    // no GSA Qt can read) and in `used` how many it names.
    int Read(const char* data, int size, int& used)
    {
        QList<int> numbers;
        QGeoSatelliteInfo::SatelliteSystem system =
            parseSatellitesInUseFromNmea(data, size, numbers);
        used = static_cast<int>(numbers.size());
        return system;
    }
};

NmeaReader::NmeaReader(QObject* parent)
    : QObject(parent),
      sentences_(std::make_unique<SentenceParser>(*this)),
      satellites_(std::make_unique<GsaParser>())
{
    sentences_->setDevice(&feed_);
    // Qt gives 2 x HDOP x this range error (a circle of two standard deviations).
    sentences_->setUserEquivalentRangeError(NMEA_RANGE_ERROR_METRES / 2);
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMs);
    connect(&quiet_, &QTimer::timeout, this, &NmeaReader::Finish);
}

NmeaReader::~NmeaReader() = default;

void NmeaReader::Start()
{
    if (running_) {
        return;
    }
    running_ = true;
    sentences_->startUpdates();
}

void NmeaReader::Stop()
{
    if (!running_) {
        return;
    }
    running_ = false;
    sentences_->stopUpdates();
    quiet_.stop();
    feed_.Clear();
    epochs_.Reset();
}

void NmeaReader::Read(const char* data, qint64 size)
{
    if (!running_) {
        return;
    }
    feed_.Append(data, size);
    quiet_.start();
}

void NmeaReader::Finish()
{
    quiet_.stop();
    Emit(epochs_.Finish());
}

void NmeaReader::Take(const char* sentence, int size, const QGeoPositionInfo& info, bool saysFix)
{
    static constexpr struct {
        const char* type;
        NmeaSentence::Kind kind;
    } kKinds[] = {{"RMC", NmeaSentence::Kind::RMC}, {"GGA", NmeaSentence::Kind::GGA},
                  {"GLL", NmeaSentence::Kind::GLL}, {"GSA", NmeaSentence::Kind::GSA},
                  {"VTG", NmeaSentence::Kind::VTG}, {"ZDA", NmeaSentence::Kind::ZDA}};
    NmeaSentence read;
    read.info = info;
    read.saysFix = saysFix;
    for (const auto& k : kKinds) {
        // Qt read it, so it is at least "$ttSSS" and the type is what Qt went by.
        read.kind = std::strncmp(sentence + 3, k.type, 3) == 0 ? k.kind : read.kind;
    }
    if (read.kind == NmeaSentence::Kind::GSA) {
        int used = 0;
        int system = satellites_->Read(sentence, size, used);
        if (system != QGeoSatelliteInfo::Undefined) {
            read.satelliteSystem = system;
            read.satellitesUsed = used;
        }
    }
    Emit(epochs_.Add(read));
}

void NmeaReader::TakeProprietary(const char* sentence, int size)
{
    NmeaSentence read;
    read.receiverError = PgrmeHorizontalError(sentence, size);
    if (std::isfinite(read.receiverError)) {
        read.kind = NmeaSentence::Kind::PGRME;
        Emit(epochs_.Add(read));
    }
}

void NmeaReader::Emit(const std::optional<LiveFix>& fix)
{
    if (fix) {
        emit fixRead(*fix);
    }
}
