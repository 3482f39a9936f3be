#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "live/ByteFeed.h"
#include "live/LiveTypes.h"
#include "live/NmeaEpochs.h"

class QNmeaPositionInfoSource;
class QNmeaSatelliteInfoSource;

// Reads NMEA 0183 bytes as they come from a line into fixes, one per epoch of the receiver
// (NmeaEpochs). Qt Positioning reads the sentences: a QNmeaPositionInfoSource in real-time
// mode takes the lines from a ByteFeed, and checks and reads each; GSA sentences go to a
// QNmeaSatelliteInfoSource's reader for the satellites in use. What Qt cannot give is
// done here: the grouping into epochs (Qt's own sends an epoch 20 ms after its first
// sentence, before the GGA with the altitude has come at 4800 baud, and takes a GSA of
// mode 1 for a fix) and the fixes without a position.
//
// A sentence counts only when its checksum is right. A line that holds noise or a sentence
// cut short before a whole sentence is read from its last '$'. Of the proprietary sentences
// ($P...) Garmin's PGRME is read for its horizontal error, the others are passed over; of
// the rest, RMC, GGA, GLL, GSA and VTG are read, whatever talker sends them (GP, GN, GL, BD,
// ...). Without a PGRME the horizontal error is HDOP times NMEA_RANGE_ERROR_METRES
// (link/NmeaSentences.h), the measure the simulator writes HDOP by.
class NmeaReader : public QObject {
    Q_OBJECT

public:
    // The time without bytes after which the epoch under way is taken as complete.
    static constexpr int kQuietMs = 250;

    explicit NmeaReader(QObject* parent = nullptr);
    ~NmeaReader() override;

    void Start();
    // Forgets the epoch under way and a sentence cut short; no fix comes until Start().
    void Stop();
    // Bytes as they came from the line; the fixes of the epochs they end are emitted before
    // it returns. Ignored while stopped.
    void Read(const char* data, qint64 size);
    // Ends the epoch under way now; its fix is emitted before it returns.
    void Finish();

signals:
    void fixRead(const LiveFix& fix);

private:
    void Take(const char* sentence, int size, const QGeoPositionInfo& info, bool saysFix);
    // A sentence that begins "$P".
    void TakeProprietary(const char* sentence, int size);
    void Emit(const std::optional<LiveFix>& fix);

    class SentenceParser;
    class GsaParser;

    ByteFeed feed_;
    std::unique_ptr<SentenceParser> sentences_;
    std::unique_ptr<GsaParser> satellites_;
    NmeaEpochs epochs_;
    QTimer quiet_;
    bool running_ = false;
};
