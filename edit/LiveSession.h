#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "edit/LivePosition.h"
#include "gps/LiveRecording.h"

class CDataDoc;

// The live position of the running program: the fixes and states of the position source
// (taken on the user-interface thread), the trail, whether fixes still come, the status
// text, and a recording into one GPS data document. The plots and maps show what it
// signals; the main window's status bar shows its text.
class LiveSession : public QObject {
    Q_OBJECT

public:
    static LiveSession& Instance();

    // From the position source.
    void TakeFix(const LiveFix& fix);
    void TakeState(LiveState state, const QString& detail);
    // The source stopped: the marker goes, a recording ends.
    void Stopped();

    const LivePath& Path() const { return path_; }
    bool Receiving() const { return receiving_; }
    LiveState State() const { return state_; }
    // "3D  7 Sat.  12.3 km/h  245°  432 m", "kein Empfang", "Verbindung verloren: ...".
    QString StatusText() const;

    // Records the fixes into a new track of `doc`'s track log through a journal at
    // `journalPath`; false and a message when the journal cannot be written. `guard` lives
    // as long as the document (one of its views): when it goes first, the recording ends and
    // its points stay in the journal, which the next start offers back.
    bool StartRecording(CDataDoc* doc, QObject* guard, const std::string& journalPath);
    // The document takes what was recorded (one change), and the journal goes.
    void StopRecording();
    bool RecordingInto(const CDataDoc* doc) const;
    bool Recording() const { return recording_ != nullptr; }

    // Whether a position source runs; starting one is the main window's (Starter()).
    bool Running() const { return state_ != LiveState::STOPPED; }
    // Starts the position source the options name; false when it cannot.
    static std::function<bool()>& Starter();
    // Where a recording journals its fixes (the application's data folder).
    static std::string& JournalPath();
    // Pauses a position source that reads the link's port for the time of an exchange with
    // the receiver (a transfer, a link opening), and starts it again after; set by the main
    // window.
    static std::function<void(bool pause)>& Pauser();
    // While one or more of these live, the source is paused.
    class PausedForTransfer {
    public:
        PausedForTransfer();
        ~PausedForTransfer();
        PausedForTransfer(const PausedForTransfer&) = delete;
        PausedForTransfer& operator=(const PausedForTransfer&) = delete;

    private:
        static int depth_;
    };

    // A steady clock in milliseconds; tests set their own.
    static std::function<int64_t()>& Clock();

signals:
    void fixShown(const LiveFix& fix, qint64 arrivedMillis);
    void receivingChanged(bool receiving);
    void statusChanged(const QString& text);
    void cleared();

private:
    LiveSession();
    void CheckReception();
    void SetStatus();
    void EndRecording(const std::string& message);

    LivePath path_;
    LiveState state_ = LiveState::STOPPED;
    QString stateDetail_;
    bool receiving_ = false;
    QTimer receptionTimer_;
    QTimer flushTimer_;
    std::unique_ptr<LiveRecording> recording_;
    QMetaObject::Connection guardConnection_;
    CDataDoc* recordingDoc_ = nullptr;
};
