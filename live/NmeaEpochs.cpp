#include "live/NmeaEpochs.h"

#include <QDateTime>
#include <cmath>

namespace {

unsigned KindBit(NmeaSentence::Kind kind)
{
    return 1u << static_cast<unsigned>(kind);
}

bool ReportsFix(NmeaSentence::Kind kind)
{
    return kind == NmeaSentence::Kind::RMC || kind == NmeaSentence::Kind::GGA ||
           kind == NmeaSentence::Kind::GLL;
}

void TakeAttribute(const QGeoPositionInfo& info, QGeoPositionInfo::Attribute attribute,
                   double& into)
{
    if (info.hasAttribute(attribute) && std::isfinite(info.attribute(attribute))) {
        into = info.attribute(attribute);
    }
}

}  // namespace

std::optional<LiveFix> NmeaEpochs::Add(const NmeaSentence& sentence)
{
    std::optional<LiveFix> ended;
    const QTime time = sentence.info.timestamp().time();
    if (epoch_) {
        // Where the times cannot tell, an RMC, GGA or GLL that came already begins the next.
        bool timed = time.isValid() && epoch_->time.isValid();
        bool again = ReportsFix(sentence.kind) && (epoch_->kinds & KindBit(sentence.kind));
        if (timed ? time != epoch_->time : again) {
            ended = Finish();
        }
    }
    if (time.isValid() && time == lastTime_) {
        return ended;
    }
    Merge(sentence);
    return ended;
}

void NmeaEpochs::Merge(const NmeaSentence& sentence)
{
    if (!epoch_) {
        epoch_.emplace();
    }
    NmeaEpoch& epoch = *epoch_;
    epoch.kinds |= KindBit(sentence.kind);
    const QDateTime stamp = sentence.info.timestamp();
    if (stamp.time().isValid()) {
        epoch.time = stamp.time();
    }
    if (stamp.date().isValid()) {
        epoch.date = stamp.date();
    }
    if (ReportsFix(sentence.kind)) {
        (sentence.saysFix ? epoch.fixSaid : epoch.noFixSaid) = true;
    }
    const QGeoCoordinate coordinate = sentence.info.coordinate();
    if (std::isfinite(coordinate.latitude()) && std::isfinite(coordinate.longitude())) {
        epoch.latitude = coordinate.latitude();
        epoch.longitude = coordinate.longitude();
    }
    if (std::isfinite(coordinate.altitude())) {
        epoch.altitude = coordinate.altitude();
    }
    TakeAttribute(sentence.info, QGeoPositionInfo::GroundSpeed, epoch.speed);
    TakeAttribute(sentence.info, QGeoPositionInfo::Direction, epoch.course);
    TakeAttribute(sentence.info, QGeoPositionInfo::HorizontalAccuracy, epoch.horizontalError);
    if (std::isfinite(sentence.receiverError)) {
        epoch.receiverError = sentence.receiverError;
    }
    if (sentence.kind == NmeaSentence::Kind::GSA && sentence.satellitesUsed >= 0) {
        epoch.satellites[sentence.satelliteSystem] = sentence.satellitesUsed;
    }
}

std::optional<LiveFix> NmeaEpochs::Finish()
{
    if (!epoch_) {
        return std::nullopt;
    }
    NmeaEpoch epoch = *epoch_;
    epoch_.reset();
    if (epoch.time.isValid()) {
        lastTime_ = epoch.time;
    }
    if (epoch.date.isValid()) {
        lastDate_ = epoch.date;
    }
    bool reportsFix =
        epoch.kinds & (KindBit(NmeaSentence::Kind::RMC) | KindBit(NmeaSentence::Kind::GGA) |
                       KindBit(NmeaSentence::Kind::GLL));
    if (!reportsFix) {
        return std::nullopt;
    }
    return FixOf(epoch);
}

LiveFix NmeaEpochs::FixOf(const NmeaEpoch& epoch) const
{
    LiveFix fix;
    const QDate date = epoch.date.isValid() ? epoch.date : lastDate_;
    if (epoch.time.isValid() && date.isValid()) {
        fix.utcMillis = QDateTime(date, epoch.time, Qt::UTC).toMSecsSinceEpoch();
    }
    if (!epoch.satellites.empty()) {
        fix.satellites = 0;
        for (const auto& [system, used] : epoch.satellites) {
            fix.satellites += used;
        }
    }
    bool position = std::isfinite(epoch.latitude) && std::isfinite(epoch.longitude);
    if (!epoch.fixSaid || epoch.noFixSaid || !position) {
        return fix;
    }
    fix.latitude = epoch.latitude;
    fix.longitude = epoch.longitude;
    fix.altitude = LiveMeasure(epoch.altitude);
    fix.kind = HasValue(fix.altitude) ? FixKind::THREE_D : FixKind::TWO_D;
    if (std::isfinite(epoch.speed) && epoch.speed >= 0) {
        fix.speed = LiveMeasure(epoch.speed);
    }
    if (std::isfinite(epoch.course)) {
        fix.course = LiveCourse(epoch.course);
    }
    const double error =
        std::isfinite(epoch.receiverError) ? epoch.receiverError : epoch.horizontalError;
    if (std::isfinite(error) && error >= 0) {
        fix.horizontalError = LiveMeasure(error);
    }
    return fix;
}

void NmeaEpochs::Reset()
{
    epoch_.reset();
    lastTime_ = QTime();
    lastDate_ = QDate();
}
