#include "live/GpsdSource.h"

#include <gps.h>

#include <cerrno>
#include <cmath>
#include <cstring>

namespace {

// gps_waiting's time-out: how soon the worker notices Stop() while gpsd is silent.
constexpr int kWaitMicros = 200000;

bool Finite(double value)
{
    return std::isfinite(value) != 0;
}

LiveFix FixOfReport(const gps_data_t& data, int satellites)
{
    const gps_fix_t& in = data.fix;
    LiveFix fix;
    fix.satellites = satellites;
    if (in.time.tv_sec != 0) {
        fix.utcMillis = static_cast<int64_t>(in.time.tv_sec) * 1000 + in.time.tv_nsec / 1000000;
    }
    bool position = Finite(in.latitude) && Finite(in.longitude) && std::fabs(in.latitude) <= 90 &&
                    std::fabs(in.longitude) <= 180;
    if ((in.mode != MODE_2D && in.mode != MODE_3D) || !position) {
        return fix;
    }
    fix.latitude = in.latitude;
    fix.longitude = in.longitude;
    if (in.mode == MODE_3D) {
        fix.altitude = LiveMeasure(Finite(in.altMSL) ? in.altMSL : in.altitude);
    }
    fix.kind = HasValue(fix.altitude) ? FixKind::THREE_D : FixKind::TWO_D;
    if (Finite(in.speed) && in.speed >= 0) {
        fix.speed = LiveMeasure(in.speed);
    }
    if (Finite(in.track)) {
        fix.course = LiveCourse(in.track);
    }
    if (Finite(in.eph)) {
        fix.horizontalError = LiveMeasure(in.eph);
    } else if (Finite(in.epx) && Finite(in.epy)) {
        fix.horizontalError = LiveMeasure(std::hypot(in.epx, in.epy));
    }
    return fix;
}

}  // namespace

GpsdSource::GpsdSource(std::string host, int port, QObject* parent)
    : PositionSource(parent), host_(std::move(host)), port_(port)
{
}

GpsdSource::~GpsdSource()
{
    Stop();
}

void GpsdSource::Start()
{
    if (worker_.joinable()) {
        return;
    }
    stopping_ = false;
    unsigned run = ++run_;
    SetState(LiveState::WAITING, QString::fromStdString(host_ + ":" + std::to_string(port_)));
    worker_ = std::thread([this, run] { Run(run); });
}

void GpsdSource::Stop()
{
    if (!worker_.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
    ++run_;
    SetState(LiveState::STOPPED, {});
}

void GpsdSource::Run(unsigned run)
{
    const std::string port = std::to_string(port_);
    const QString where = QString::fromStdString(host_ + ":" + port);
    while (!Stopping()) {
        gps_data_t data;
        std::memset(&data, 0, sizeof data);
        if (gps_open(host_.c_str(), port.c_str(), &data) != 0) {
            PostState(run, LiveState::LINK_LOST, where + ": " + gps_errstr(errno));
            if (!Pause()) {
                break;
            }
            continue;
        }
        QString reason;
        if (gps_stream(&data, WATCH_ENABLE | WATCH_JSON, nullptr) != 0) {
            reason = where + ": " + gps_errstr(errno);
        } else {
            PostState(run, LiveState::WAITING, where);
            reason = where + ": " + Watch(&data, run);
        }
        gps_close(&data);
        if (Stopping()) {
            break;
        }
        PostState(run, LiveState::LINK_LOST, reason);
        if (!Pause()) {
            break;
        }
    }
}

QString GpsdSource::Watch(void* gpsData, unsigned run)
{
    auto& data = *static_cast<gps_data_t*>(gpsData);
    int satellites = -1;
    char message[8192];
    while (!Stopping()) {
        if (!gps_waiting(&data, kWaitMicros)) {
            continue;
        }
        errno = 0;
        if (gps_read(&data, message, sizeof message) < 0) {
            return errno != 0 ? QString::fromLocal8Bit(std::strerror(errno))
                              : QStringLiteral("gpsd closed the connection");
        }
        if (std::strstr(message, "\"class\":\"SKY\"") && (data.set & SATELLITE_SET)) {
            satellites = data.satellites_used;
        } else if (std::strstr(message, "\"class\":\"TPV\"")) {
            // libgps leaves MODE_SET set after other reports: a TPV is known by its class.
            PostFix(run, FixOfReport(data, satellites));
        }
    }
    return {};
}

void GpsdSource::PostState(unsigned run, LiveState state, const QString& detail)
{
    QMetaObject::invokeMethod(
        this,
        [this, run, state, detail] {
            if (run == run_) {
                SetState(state, detail);
            }
        },
        Qt::QueuedConnection);
}

void GpsdSource::PostFix(unsigned run, const LiveFix& fix)
{
    QMetaObject::invokeMethod(
        this,
        [this, run, fix] {
            if (run == run_) {
                Deliver(fix);
            }
        },
        Qt::QueuedConnection);
}

bool GpsdSource::Pause()
{
    std::unique_lock<std::mutex> lock(mutex_);
    return !wake_.wait_for(lock, std::chrono::milliseconds(kReconnectMs),
                           [this] { return stopping_.load(); });
}
