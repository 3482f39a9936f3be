#include <memory>

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>

#include "edit/CDataView.h"
#include "edit/CMoveWaypointsDlg.h"
#include "edit/CWaypointDlg.h"
#include "framework/CommandTarget.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"
#include "tests/RecordingPrompts.h"
#include "tests/edit/ModalDialogCloser.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

class ViewDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = Prompts::SetCurrent(&prompts);
        for (int i = 0; i < 3; ++i) {
            WaypointRecord w = TestWaypoint(i);
            w.latitude = w.longitude = 0;  // positions the dialog gives back unchanged
            doc.InsertWaypoints(i, 1, &w);
        }
        doc.ReplaceTrackpoints({TestTrackpoint(0), TestTrackpoint(1)});
        doc.SetModifiedFlag(false);
        view.resize(700, 300);
        view.AttachDocument(&doc);
        view.OnInitialUpdate();
        view.show();
    }
    void TearDown() override { Prompts::SetCurrent(previous); }

    bool Run(int id) { return RouteCommand({&view, &doc}, id); }
    bool Enabled(int id) { return RouteUpdate({&view, &doc}, id).enabled; }

    void DoubleClickRow(int row)
    {
        QPoint at = view.visualRect(view.model()->index(row, 2)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(view.viewport(), &event);
        }
        QApplication::processEvents();
    }

    std::vector<std::string> Idents() const
    {
        std::vector<std::string> idents;
        for (const WaypointRecord& w : doc.Waypoints()) {
            idents.emplace_back(WaypointIdent(w));
        }
        return idents;
    }

    RecordingPrompts prompts;
    Prompts* previous = nullptr;
    CDataDoc doc;
    CDataView view;
};

TEST_F(ViewDialogs, CommandsAreEnabledInWaypointModeAndMoveNeedsASelection)
{
    EXPECT_TRUE(Enabled(ID_EDIT_NEW_WAYPOINT));
    EXPECT_FALSE(Enabled(ID_EDIT_MOVE_WAYPOINTS));
    view.selectRow(1);
    EXPECT_TRUE(Enabled(ID_EDIT_MOVE_WAYPOINTS));
    view.ShowTrackpoints();
    view.selectRow(1);
    EXPECT_FALSE(Enabled(ID_EDIT_NEW_WAYPOINT));
    EXPECT_FALSE(Enabled(ID_EDIT_MOVE_WAYPOINTS));
}

TEST_F(ViewDialogs, ANewWaypointBecomesRecordZeroInOneUndoStep)
{
    ModalDialogCloser closer([](QDialog& dialog) {
        ASSERT_NE(qobject_cast<CWaypointDlg*>(&dialog), nullptr);
        dialog.findChild<QLineEdit*>("name129")->setText("NEU");
        dialog.accept();
    });
    EXPECT_TRUE(Run(ID_EDIT_NEW_WAYPOINT));
    EXPECT_EQ(closer.seen(), 1);
    EXPECT_EQ(Idents(), (std::vector<std::string>{"NEU   ", "WP0", "WP1", "WP2"}));
    EXPECT_EQ(view.model()->rowCount(), 4);
    EXPECT_EQ(view.model()->index(0, 0).data().toString(), "NEU   ");
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_EQ(Idents(), (std::vector<std::string>{"WP0", "WP1", "WP2"}));
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ViewDialogs, ADoubleClickEditStoresOnlyAChangedRecord)
{
    view.selectRow(1);  // a click on a selected row also starts renaming it, later
    {
        ModalDialogCloser unchanged([](QDialog& dialog) {
            QElapsedTimer waited;
            waited.start();
            while (waited.elapsed() < QApplication::doubleClickInterval() + 100) {
                QApplication::processEvents();
            }
            dialog.accept();
        });
        DoubleClickRow(1);
        EXPECT_EQ(unchanged.seen(), 1);
        EXPECT_FALSE(doc.IsModified());
    }
    QApplication::processEvents();
    EXPECT_EQ(view.indexWidget(view.model()->index(1, 0)), nullptr) << "no renaming begun";
    ModalDialogCloser changed([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("comment131")->setText("GEAENDERT");
        dialog.accept();
    });
    DoubleClickRow(1);
    EXPECT_EQ(changed.seen(), 1);
    EXPECT_EQ(WaypointComment(doc.Waypoints()[1]), "GEAENDERT");
    EXPECT_EQ(view.model()->index(1, 3).data().toString(), "GEAENDERT");
    doc.Undo();
    EXPECT_TRUE(SameBytes(doc.Waypoints()[1], [] {
        WaypointRecord w = TestWaypoint(1);
        w.latitude = w.longitude = 0;
        return w;
    }()));
}

TEST_F(ViewDialogs, ADoubleClickOnATrackpointRowOpensNothing)
{
    view.ShowTrackpoints();
    ModalDialogCloser closer([](QDialog&) {});
    DoubleClickRow(1);
    QApplication::processEvents();
    EXPECT_EQ(closer.seen(), 0);
}

TEST_F(ViewDialogs, AMoveOfTheSelectionIsOneUndoStep)
{
    doc.SetWaypoint(2, TestWaypoint(9));  // the correction point: WP9 at 9001, -9002
    doc.SetModifiedFlag(false);
    std::vector<WaypointRecord> before = doc.Waypoints();
    view.selectAll();
    ModalDialogCloser closer([](QDialog& dialog) {
        auto& move = dynamic_cast<CMoveWaypointsDlg&>(dialog);
        QComboBox* list = move.findChild<QComboBox*>("select153");
        move.OnUseSelection(MOVE_REFERENCE1);  // nothing selected yet: nothing happens
        list->setCurrentIndex(list->findText("WP0"));
        move.OnUseSelection(MOVE_REFERENCE1);
        list->setCurrentIndex(list->findText("WP9"));
        move.OnUseSelection(MOVE_CORRECTION1);
        move.accept();
    });
    EXPECT_TRUE(Run(ID_EDIT_MOVE_WAYPOINTS));
    EXPECT_EQ(closer.seen(), 1);
    EXPECT_EQ(doc.Waypoints()[0].latitude, DegreesToSemicircles(SemicirclesToDegrees(9001)));
    EXPECT_FALSE(SameBytes(doc.Waypoints()[2], before[2]));
    doc.Undo();
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(SameBytes(doc.Waypoints()[i], before[i])) << i;
    }
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
