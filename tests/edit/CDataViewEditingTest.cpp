#include <cstring>
#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "edit/CDataView.h"
#include "edit/PointClipboard.h"
#include "framework/CommandTarget.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/Gpx.h"
#include "res/CommandIds.h"
#include "tests/RecordingPrompts.h"
#include "tests/TempDir.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

class ViewEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = Prompts::SetCurrent(&prompts);
        QApplication::clipboard()->clear();
    }
    void TearDown() override { Prompts::SetCurrent(previous); }

    std::unique_ptr<CDataView> OpenView(CDataDoc& doc)
    {
        auto view = std::make_unique<CDataView>();
        view->AttachDocument(&doc);
        view->OnInitialUpdate();
        return view;
    }

    static void Fill(CDataDoc& doc, int from, int count)
    {
        for (int i = from; i < from + count; ++i) {
            WaypointRecord w = TestWaypoint(i);
            doc.InsertWaypoints(doc.waypointCount(), 1, &w);
        }
        TrackpointRecord t[2] = {TestTrackpoint(0), TestTrackpoint(1)};
        doc.InsertTrackpoints(0, 2, t);
        doc.SetModifiedFlag(false);
    }

    static void SelectRows(CDataView& view, std::initializer_list<int> rows)
    {
        view.clearSelection();
        for (int row : rows) {
            view.selectionModel()->select(view.model()->index(row, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    RecordingPrompts prompts;
    Prompts* previous = nullptr;
};

TEST_F(ViewEditing, TwoWaypointsPastedIntoAListOfFiveComeFirst)
{
    CDataDoc source, target;
    Fill(source, 10, 3);
    Fill(target, 0, 5);
    WaypointDetails details = TestDetails(5);
    source.SetWaypoint(2, source.Waypoints()[2], details);
    auto from = OpenView(source);
    auto to = OpenView(target);
    SelectRows(*from, {0, 2});
    EXPECT_FALSE(RouteUpdate({to.get()}, ID_EDIT_PASTE).enabled);
    ASSERT_TRUE(from->ExecuteCommand(ID_EDIT_COPY));

    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(
        data->hasFormat(QStringLiteral("application/x-qt-windows-mime;value=\"Orvi Waypoints\"")));
    EXPECT_TRUE(data->text().startsWith(QStringLiteral("2 items selected:\r\nWP,D,WP10,")));
    EXPECT_TRUE(RouteUpdate({to.get()}, ID_EDIT_PASTE).enabled);

    ASSERT_TRUE(to->ExecuteCommand(ID_EDIT_PASTE));
    ASSERT_EQ(target.waypointCount(), 7);
    EXPECT_TRUE(SameBytes(target.Waypoints()[0], TestWaypoint(10)));
    EXPECT_TRUE(SameBytes(target.Waypoints()[1], TestWaypoint(12)));
    EXPECT_TRUE(SameBytes(target.Waypoints()[2], TestWaypoint(0)));
    EXPECT_TRUE(IsEmpty(target.WaypointDetailsAt(0)));
    EXPECT_EQ(std::memcmp(&target.WaypointDetailsAt(1), &details, sizeof details), 0)
        << "the details travel beside the records";
    EXPECT_EQ(to->model()->rowCount(), 7);
    target.Undo();  // one step
    EXPECT_EQ(target.waypointCount(), 5);

    // The trackpoint list of the same document offers no paste of waypoints.
    to->ShowTrackpoints();
    EXPECT_FALSE(RouteUpdate({to.get()}, ID_EDIT_PASTE).enabled);
}

TEST_F(ViewEditing, TrackpointsPasteAtTheStartAndCutIsOneStep)
{
    CDataDoc doc;
    Fill(doc, 0, 4);
    auto view = OpenView(doc);
    view->ShowTrackpoints();
    SelectRows(*view, {1});
    ASSERT_TRUE(view->ExecuteCommand(ID_EDIT_CUT));
    ASSERT_EQ(doc.trackpointCount(), 1);
    view->ExecuteCommand(ID_EDIT_PASTE);
    ASSERT_EQ(doc.trackpointCount(), 2);
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[0], TestTrackpoint(1)));
    doc.Undo();
    doc.Undo();
    ASSERT_EQ(doc.trackpointCount(), 2);
    EXPECT_TRUE(SameBytes(doc.Trackpoints()[1], TestTrackpoint(1)));
    EXPECT_FALSE(doc.IsModified());

    // A damaged block on the clipboard pastes nothing.
    auto* bad = new QMimeData;
    bad->setData(ClipboardMimeType(LIST_TRACKPOINTS), QByteArray("\x09\x00\x00\x00", 4));
    QApplication::clipboard()->setMimeData(bad);
    view->ExecuteCommand(ID_EDIT_PASTE);
    EXPECT_EQ(doc.trackpointCount(), 2);
}

TEST_F(ViewEditing, PastingBeyondWhatADocumentHoldsSaysSo)
{
    CDataDoc doc;
    std::vector<WaypointRecord> many(MAX_DOC_RECORDS, TestWaypoint(1));
    doc.ReplaceWaypoints(many);
    auto view = OpenView(doc);
    CopyRecordsToClipboard(doc, LIST_WAYPOINTS, {0});
    view->PasteRecords();
    EXPECT_EQ(doc.waypointCount(), MAX_DOC_RECORDS);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("32767"), std::string::npos);
}

TEST_F(ViewEditing, GpxImportAddsToTheEndAndExportWritesEverything)
{
    TempDir dir;
    CDataDoc doc;
    Fill(doc, 0, 2);
    WaypointRecord north = doc.Waypoints()[1];
    north.latitude = DegreesToSemicircles(95);  // as the waypoint dialog once stored it
    doc.SetWaypoint(1, north);
    auto view = OpenView(doc);
    QString out = QString::fromStdString(dir.File("out.gpx"));
    ASSERT_TRUE(view->ExportGpxFile(out));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("Bei 1 Punkt lag die Breite"), std::string::npos);
    GpxData written = ReadGpxFile(out.toStdString());
    EXPECT_EQ(written.waypoints.size(), 2u);
    EXPECT_EQ(written.trackpoints.size(), 2u);

    ASSERT_TRUE(view->ImportGpxFile(out));
    EXPECT_EQ(doc.waypointCount(), 4);
    EXPECT_EQ(doc.trackpointCount(), 4);
    EXPECT_EQ(WaypointIdent(doc.Waypoints()[2]), "WP0   ");
    EXPECT_EQ(doc.Trackpoints()[2].newTrack, 1);
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();  // the import is one step
    EXPECT_EQ(doc.waypointCount(), 2);
    EXPECT_EQ(doc.trackpointCount(), 2);

    // A kind that would pass what a document holds stays out; the other goes in.
    CDataDoc full;
    full.ReplaceTrackpoints(std::vector<TrackpointRecord>(MAX_DOC_RECORDS, TestTrackpoint(3)));
    auto fullView = OpenView(full);
    EXPECT_FALSE(fullView->ImportGpxFile(out));
    EXPECT_EQ(full.waypointCount(), 2);
    EXPECT_EQ(full.trackpointCount(), MAX_DOC_RECORDS);
    EXPECT_NE(prompts.messages.back().find("32767 Trackpoints"), std::string::npos);

    WriteBytes(dir.File("bad.gpx"), {'<', 'x'});
    EXPECT_FALSE(view->ImportGpxFile(QString::fromStdString(dir.File("bad.gpx"))));
    EXPECT_NE(prompts.messages.back().find("kein lesbares XML"), std::string::npos);
    EXPECT_EQ(doc.waypointCount(), 2);

    // Details and routes come along in the same step, and go out again; routes beyond what
    // a document holds stay out.
    CDataDoc rich;
    auto richView = OpenView(rich);
    QString receiver = QStringLiteral(ORVI_TEST_DATA "/gpx/receiver.gpx");
    ASSERT_TRUE(richView->ImportGpxFile(receiver));
    EXPECT_EQ(WaypointName(rich.Waypoints()[0], rich.WaypointDetailsAt(0)),
              "Wildspitz Gipfelkreuz");
    EXPECT_EQ(FieldText(rich.TrackpointDetailsAt(0).trackName, 50), "2024-05-01 09:02:11 Tag");
    ASSERT_TRUE(richView->ExportGpxFile(out));
    EXPECT_EQ(ReadGpxFile(out.toStdString()).routes.size(), 1u);
    rich.Undo();
    EXPECT_TRUE(rich.Routes().empty() && rich.waypointCount() == 0 && !rich.HasTrackpointDetails());
    rich.ReplaceRoutes(std::vector<Route>(MAX_DOC_ROUTES, TestRoute(1, 1)));
    EXPECT_FALSE(richView->ImportGpxFile(receiver));
    EXPECT_EQ(rich.Routes().size(), size_t(MAX_DOC_ROUTES));
    EXPECT_EQ(rich.waypointCount(), 2);
    EXPECT_NE(prompts.messages.back().find("1 Route hat keinen Platz"), std::string::npos);

    const std::string partly =
        "<gpx><wpt lat='95' lon='1'/><wpt lat='1' lon='2'/>"
        "<wpt lat='1' lon='-200'/></gpx>";
    WriteBytes(dir.File("partly.gpx"), std::vector<uint8_t>(partly.begin(), partly.end()));
    EXPECT_TRUE(view->ImportGpxFile(QString::fromStdString(dir.File("partly.gpx"))));
    EXPECT_EQ(doc.waypointCount(), 3);
    EXPECT_NE(prompts.messages.back().find("2 Punkte ohne gültige Position übersprungen"),
              std::string::npos);
}

}  // namespace
