#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include <QApplication>

#include "bench/Bench.h"
#include "edit/CDataView.h"
#include "edit/PointListFormat.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"

namespace {

std::vector<TrackpointRecord> LongTrack()
{
    std::vector<TrackpointRecord> track(MAX_DOC_RECORDS);
    for (int i = 0; i < MAX_DOC_RECORDS; ++i) {
        track[static_cast<size_t>(i)] = {DegreesToSemicircles(47.0 + (i % 977) * 1e-4),
                                         DegreesToSemicircles(8.0 + (i % 613) * 1e-4),
                                         static_cast<uint32_t>(1000000000 + i * 7),
                                         static_cast<uint8_t>(i % 1000 == 0)};
    }
    return track;
}

// The reference for a rebuild: every cell text of the track formatted into a plain array.
void FormatAllCells(const std::vector<TrackpointRecord>& track, std::vector<std::string>& cells)
{
    std::vector<TrackLeg> legs = ComputeTrackLegs(track);
    cells.resize(track.size() * TRK_COLUMN_COUNT);
    for (size_t i = 0; i < track.size(); ++i) {
        for (int c = 0; c < TRK_COLUMN_COUNT; ++c) {
            cells[i * TRK_COLUMN_COUNT + static_cast<size_t>(c)] =
                TrackpointCellText(track[i], legs[i], static_cast<int>(i), c);
        }
    }
}

// The reference for a sort: one column's texts formatted and sorted in plain arrays.
void FormatAndSortColumn(const std::vector<TrackpointRecord>& track, int column)
{
    std::vector<TrackLeg> legs = ComputeTrackLegs(track);
    std::vector<std::string> keys(track.size());
    for (size_t i = 0; i < track.size(); ++i) {
        keys[i] = TrackpointCellText(track[i], legs[i], static_cast<int>(i), column);
    }
    std::vector<int> order(track.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)];
    });
}

}  // namespace

void RunPointListBenchmarks()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvi-bench";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    std::setlocale(LC_ALL, "C");

    CDataDoc doc;
    doc.ReplaceTrackpoints(LongTrack());
    const std::vector<TrackpointRecord>& track = doc.Trackpoints();
    CDataView view;
    view.resize(900, 600);
    view.AttachDocument(&doc);
    view.ShowTrackpoints();

    double rebuild = Measure([&] { view.ShowTrackpoints(); });
    std::vector<std::string> cells;
    double format = Measure([&] { FormatAllCells(track, cells); });
    Report("rebuild list of 32767 trackpoints", rebuild, "format all cells", format);

    for (int column : {TRK_COL_TIME, TRK_COL_LATITUDE}) {
        double sort = Measure([&] { view.SortByColumn(column); });
        double plain = Measure([&] { FormatAndSortColumn(track, column); });
        std::string what = std::string("sort 32767 trackpoints by ") +
                           ListColumnAt(LIST_TRACKPOINTS, column).caption;
        Report(what, sort, "format+sort one column", plain);
    }
}
