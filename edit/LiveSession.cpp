#include "edit/LiveSession.h"

#include <chrono>

#include "framework/Prompts.h"
#include "gps/CDataDoc.h"

namespace {

constexpr int kReceptionCheckMs = 500;
constexpr int kJournalFlushMs = 1000;

}  // namespace

LiveSession& LiveSession::Instance()
{
    static LiveSession* session = new LiveSession();  // lives as long as the program
    return *session;
}

std::function<int64_t()>& LiveSession::Clock()
{
    static std::function<int64_t()> clock = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    return clock;
}

std::function<bool()>& LiveSession::Starter()
{
    static std::function<bool()> starter = [] { return false; };
    return starter;
}

std::function<void(bool)>& LiveSession::Pauser()
{
    static std::function<void(bool)> pauser = [](bool) {};
    return pauser;
}

int LiveSession::PausedForTransfer::depth_ = 0;

LiveSession::PausedForTransfer::PausedForTransfer()
{
    if (depth_++ == 0) {
        Pauser()(true);
    }
}

LiveSession::PausedForTransfer::~PausedForTransfer()
{
    if (--depth_ == 0) {
        Pauser()(false);
    }
}

std::string& LiveSession::JournalPath()
{
    static std::string path;
    return path;
}

LiveSession::LiveSession()
{
    qRegisterMetaType<LiveFix>("LiveFix");
    receptionTimer_.setInterval(kReceptionCheckMs);
    connect(&receptionTimer_, &QTimer::timeout, this, &LiveSession::CheckReception);
    flushTimer_.setInterval(kJournalFlushMs);
    connect(&flushTimer_, &QTimer::timeout, this, [this] {
        if (recording_ && !recording_->Flush()) {
            // The recording goes on in memory; the user hears of it once.
            flushTimer_.stop();
            Prompts::Current().Message(
                "Das Aufzeichnungsjournal kann nicht mehr geschrieben werden; die Aufzeichnung "
                "geht im Speicher weiter.");
        }
    });
}

void LiveSession::TakeFix(const LiveFix& fix)
{
    const int64_t now = Clock()();
    path_.Take(fix, now);
    if (state_ == LiveState::STOPPED || state_ == LiveState::LINK_LOST) {
        state_ = fix.HasPosition() ? LiveState::RECEIVING : LiveState::WAITING;
    }
    if (!receptionTimer_.isActive()) {
        receptionTimer_.start();
    }
    if (fix.HasPosition()) {
        state_ = LiveState::RECEIVING;
        emit fixShown(fix, now);
        if (recording_) {
            if (recording_->Take(fix) == LiveRecording::Took::FULL) {
                EndRecording(
                    "Die Aufzeichnung ist beendet: das Dokument hält keine weiteren "
                    "Trackpoints.");
            }
        }
    }
    CheckReception();
    SetStatus();
}

void LiveSession::TakeState(LiveState state, const QString& detail)
{
    state_ = state;
    stateDetail_ = detail;
    CheckReception();
    SetStatus();
}

void LiveSession::Stopped()
{
    if (recording_) {
        StopRecording();
    }
    receptionTimer_.stop();
    path_.Clear();
    state_ = LiveState::STOPPED;
    stateDetail_.clear();
    receiving_ = false;
    emit cleared();
    SetStatus();
}

void LiveSession::CheckReception()
{
    const bool receiving = path_.Receiving(Clock()());
    if (receiving != receiving_) {
        receiving_ = receiving;
        emit receivingChanged(receiving);
        SetStatus();
    }
}

QString LiveSession::StatusText() const
{
    switch (state_) {
    case LiveState::STOPPED:
        return {};
    case LiveState::LINK_LOST:
        return stateDetail_.isEmpty() ? QStringLiteral("Verbindung verloren")
                                      : QStringLiteral("Verbindung verloren: ") + stateDetail_;
    case LiveState::WAITING:
    case LiveState::RECEIVING:
        break;
    }
    QString text = QString::fromUtf8(LiveStatusText(path_.LastPosition(), receiving_).c_str());
    if (!path_.HasPosition() && !stateDetail_.isEmpty()) {
        // Before the first position: what the source is waiting for, or on.
        text += QStringLiteral(" (") + stateDetail_ + QLatin1Char(')');
    }
    return recording_ ? QStringLiteral("\u25CF ") + text : text;
}

void LiveSession::SetStatus()
{
    emit statusChanged(StatusText());
}

bool LiveSession::StartRecording(CDataDoc* doc, QObject* guard, const std::string& journalPath)
{
    if (recording_) {
        StopRecording();
    }
    std::string error;
    recording_ = LiveRecording::Start(journalPath, ReadRecordingInterval(),
                                      MAX_DOC_RECORDS - doc->trackpointCount(), error);
    if (!recording_) {
        Prompts::Current().Message(error);
        return false;
    }
    recordingDoc_ = doc;
    guardConnection_ = connect(guard, &QObject::destroyed, this, [this] {
        // The document went first: its points stay in the journal for the next start.
        recordingDoc_ = nullptr;
        recording_.reset();
        flushTimer_.stop();
        SetStatus();
    });
    flushTimer_.start();
    SetStatus();
    return true;
}

void LiveSession::StopRecording()
{
    EndRecording({});
}

void LiveSession::EndRecording(const std::string& message)
{
    if (!recording_) {
        return;
    }
    disconnect(guardConnection_);
    flushTimer_.stop();
    recording_->Flush();
    const RecordedTrack& track = recording_->Track();
    int result = 0;
    if (!track.points.empty() && recordingDoc_) {
        result = recordingDoc_->InsertTrackpoints(recordingDoc_->trackpointCount(),
                                                  static_cast<int32_t>(track.points.size()),
                                                  track.points.data(), track.details.data());
        recordingDoc_->UpdateAllViews(nullptr);
    }
    std::string said = message;
    if (result >= 0) {
        recording_->Finish();  // the document holds the points: the journal goes
    } else {
        // The document took other points meanwhile; the journal keeps these.
        said = "Die Aufzeichnung (" + std::to_string(track.points.size()) +
               " Trackpoints) passt nicht mehr in das Dokument. Sie bleibt im Journal und "
               "wird beim nächsten Start angeboten.";
    }
    recording_.reset();
    recordingDoc_ = nullptr;
    SetStatus();
    if (!said.empty()) {
        Prompts::Current().Message(said);
    }
}

bool LiveSession::RecordingInto(const CDataDoc* doc) const
{
    return recording_ && recordingDoc_ == doc;
}
