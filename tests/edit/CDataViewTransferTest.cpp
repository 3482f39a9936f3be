#include <memory>

#include <gtest/gtest.h>

#include "edit/CDataView.h"
#include "edit/PointListModel.h"
#include "framework/TaskRunner.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"
#include "tests/edit/FakeDocumentLink.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

// Stands for the user pressing Cancel: the task never runs, the runner reports failure.
class CancellingRunner : public TaskRunner {
public:
    int Run(const std::function<int()>&, const std::function<void()>& cancel) override
    {
        cancel();
        return -5;
    }
};

class DataViewTransferTest : public ::testing::Test {
protected:
    DataViewTransferTest()
    {
        auto owned = std::make_unique<FakeDocumentLink>();
        link = owned.get();
        doc.gpsConnection = std::move(owned);
        std::vector<WaypointRecord> waypoints = {TestWaypoint(0), TestWaypoint(1)};
        doc.InsertWaypoints(0, 2, waypoints.data());
        doc.ReplaceTrackpoints({TestTrackpoint(0)});
        doc.SetModifiedFlag(false);
        link->waypoints = {TestWaypoint(5), TestWaypoint(6), TestWaypoint(7)};
        link->trackpoints = {TestTrackpoint(3), TestTrackpoint(4)};
        view = OpenView();
        other = OpenView();
    }

    std::unique_ptr<CDataView> OpenView()
    {
        auto v = std::make_unique<CDataView>();
        v->AttachDocument(&doc);
        v->OnInitialUpdate();
        return v;
    }

    bool Run(int id) { return RouteCommand({view.get(), &doc}, id); }

    CDataDoc doc;
    FakeDocumentLink* link;
    std::unique_ptr<CDataView> view, other;
};

TEST_F(DataViewTransferTest, AWaypointDownloadReplacesTheRecordsAndShowsThem)
{
    view->ShowTrackpoints();
    other->ShowTrackpoints();
    ASSERT_TRUE(Run(ID_GPS_WPT_DOWNLOAD));
    EXPECT_EQ(link->calls, std::vector<std::string>{"download waypoints"});
    ASSERT_EQ(doc.waypointCount(), 3);
    EXPECT_TRUE(SameBytes(doc.Waypoints()[2], TestWaypoint(7)));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(view->Mode(), LIST_WAYPOINTS);
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(view->model()->index(0, 0).data().toString(), "WP5");
    EXPECT_EQ(other->Mode(), LIST_TRACKPOINTS) << "other views keep their mode";
}

TEST_F(DataViewTransferTest, AFailedOrCancelledDownloadLeavesTheDocumentAlone)
{
    link->result = -3;
    view->ShowTrackpoints();
    ASSERT_TRUE(Run(ID_GPS_WPT_DOWNLOAD));
    ASSERT_TRUE(Run(ID_GPS_TRK_DOWNLOAD));
    EXPECT_EQ(doc.waypointCount(), 2);
    EXPECT_TRUE(SameBytes(doc.Waypoints()[0], TestWaypoint(0)));
    EXPECT_EQ(doc.trackpointCount(), 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view->Mode(), LIST_WAYPOINTS) << "the waypoint list is shown all the same";

    link->result = 0;
    CancellingRunner cancelling;
    TaskRunner* previous = TaskRunner::SetCurrent(&cancelling);
    Run(ID_GPS_WPT_DOWNLOAD);
    TaskRunner::SetCurrent(previous);
    EXPECT_EQ(link->cancels, 1);
    EXPECT_EQ(doc.waypointCount(), 2);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DataViewTransferTest, ATrackDownloadKeepsTheModeAndRebuildsTheTrackLists)
{
    other->ShowTrackpoints();
    ASSERT_TRUE(Run(ID_GPS_TRK_DOWNLOAD));
    EXPECT_EQ(link->calls, std::vector<std::string>{"download trackpoints"});
    EXPECT_EQ(doc.trackpointCount(), 2);
    EXPECT_EQ(view->Mode(), LIST_WAYPOINTS);
    EXPECT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(other->model()->rowCount(), 2);
    EXPECT_EQ(other->model()->index(1, 6).data().toString().isEmpty(), false)
        << "the derived columns cover the new track";
}

TEST_F(DataViewTransferTest, UploadsHandTheDocumentsRecordsToTheLink)
{
    ASSERT_TRUE(Run(ID_GPS_WPT_UPLOAD));
    ASSERT_TRUE(Run(ID_GPS_TRK_UPLOAD));
    EXPECT_EQ(link->calls, (std::vector<std::string>{"upload waypoints", "upload trackpoints"}));
    ASSERT_EQ(link->sentWaypoints.size(), 2u);
    EXPECT_TRUE(SameBytes(link->sentWaypoints[1], TestWaypoint(1)));
    ASSERT_EQ(link->sentTrackpoints.size(), 1u);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DataViewTransferTest, RoutesComeFromTheLinkAndGoToItWhole)
{
    Route route;
    route.header.number = 4;
    route.points = {MakeRoutePoint(TestWaypoint(8), NoWaypointDetails())};
    link->routes = {route};
    ASSERT_TRUE(Run(ID_GPS_RTE_DOWNLOAD));
    EXPECT_TRUE(SameRoutes(doc.Routes(), link->routes));
    EXPECT_EQ(view->Mode(), LIST_ROUTES);
    ASSERT_TRUE(Run(ID_GPS_RTE_UPLOAD));
    EXPECT_TRUE(SameRoutes(link->sentRoutes, doc.Routes()));
    EXPECT_EQ(link->calls, (std::vector<std::string>{"download routes", "upload routes"}));
}

TEST_F(DataViewTransferTest, WithoutAConnectionTheCommandsDoNothing)
{
    doc.gpsConnection.reset();
    view->ShowTrackpoints();
    for (int id :
         {ID_GPS_WPT_DOWNLOAD, ID_GPS_TRK_DOWNLOAD, ID_GPS_WPT_UPLOAD, ID_GPS_TRK_UPLOAD}) {
        EXPECT_TRUE(Run(id)) << id;
    }
    EXPECT_EQ(doc.waypointCount(), 2);
    EXPECT_EQ(view->Mode(), LIST_WAYPOINTS);
}

}  // namespace
