#include "edit/CMoveWaypointsDlg.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "edit/CDataView.h"
#include "edit/PointListModel.h"
#include "gps/CDataDoc.h"
#include "gps/Geodesy.h"
#include "gps/RecordCollection.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

// Record indices of the test document, and its set "Blatt 7": from FAR to Q, a quarter turn.
enum { P, Q, FAR };

WaypointRecord At(const char* name, double lat, double lon)
{
    WaypointRecord w = TestWaypoint(1);
    SetFieldText(w.ident, sizeof w.ident, name);
    w.latitude = DegreesToSemicircles(lat);
    w.longitude = DegreesToSemicircles(lon);
    return w;
}

class MoveDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        WaypointRecord records[] = {At("P", 48, 11), At("Q", 47, 10), At("FAR", 50, 12)};
        doc.InsertWaypoints(0, 3, records);
        MapCorrectionSet set = ZeroedEntry<MapCorrectionSet>();
        set.reference = records[FAR];
        set.target = records[Q];
        set.rotation = 90;
        set.scale = 1;
        SetFieldText(set.name, sizeof set.name, "Blatt 7");
        doc.correctionSets.Append(set);
        doc.SetModifiedFlag(false);
        view.AttachDocument(&doc);
        view.OnInitialUpdate();
        view.selectAll();
    }

    static QComboBox* Combo(const CMoveWaypointsDlg& dialog, const char* name)
    {
        return dialog.findChild<QComboBox*>(name);
    }
    static QPushButton* Button(const CMoveWaypointsDlg& dialog, int id)
    {
        return dialog.findChild<QPushButton*>(QStringLiteral("button%1").arg(id));
    }
    static QString PointText(const CMoveWaypointsDlg& dialog, int id)
    {
        return dialog.findChild<QLineEdit*>(QStringLiteral("point%1").arg(id))->text();
    }
    static QPushButton* Ok(const CMoveWaypointsDlg& dialog)
    {
        for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
            if (b->text() == "OK" || b->text() == "&OK") {
                return b;
            }
        }
        return nullptr;
    }
    static void Select(const CMoveWaypointsDlg& dialog, const char* name)
    {
        QComboBox* list = Combo(dialog, "select153");
        list->setCurrentIndex(list->findText(name));
    }
    double KmBetween(int a, int b) const { return KmTo(a, doc.Waypoints()[b]); }
    double KmTo(int a, const WaypointRecord& b) const
    {
        PolarOffset p;
        CourseDistanceSemi(PositionOf(doc.Waypoints()[a]), PositionOf(b), p);
        return p.distance;
    }

    CDataDoc doc;
    CDataView view;
};

TEST_F(MoveDialog, OpensWithSortedListsNothingChosenAndOkDisabled)
{
    CMoveWaypointsDlg dialog(&view);
    EXPECT_EQ(dialog.windowTitle(), "Move selected Waypoints");
    QComboBox* list = Combo(dialog, "select153");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(0), "FAR");
    EXPECT_EQ(list->itemData(0).toInt(), FAR);
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_EQ(Combo(dialog, "sets156")->itemText(0), "Blatt 7");
    ASSERT_NE(Ok(dialog), nullptr);
    EXPECT_FALSE(Ok(dialog)->isEnabled());

    CMoveWaypointsDlg alone(nullptr);
    EXPECT_FALSE(Combo(alone, "select153")->isEnabled());
    EXPECT_FALSE(Combo(alone, "sets156")->isEnabled());
}

TEST_F(MoveDialog, UseSelectionWithNothingSelectedDoesNothing)
{
    CMoveWaypointsDlg dialog(&view);
    for (int id : {148, 149, 150, 151}) {
        Button(dialog, id)->click();
    }
    EXPECT_EQ(dialog.Setup().PointIndex(MOVE_REFERENCE1), -1);
    EXPECT_EQ(PointText(dialog, 143), "");
    Combo(dialog, "sets156")->setCurrentIndex(0);
    Button(dialog, 157)->click();
    Button(dialog, 148)->click();
    EXPECT_EQ(dialog.Setup().Mode(), MOVE_STORED_SET) << "still the stored set as it is";
}

TEST_F(MoveDialog, ChoosingBothFirstPointsEnablesOkWhichShiftsTheSelection)
{
    CMoveWaypointsDlg dialog(&view);
    Select(dialog, "P");
    Button(dialog, 148)->click();
    EXPECT_EQ(PointText(dialog, 143), "P");
    EXPECT_FALSE(Ok(dialog)->isEnabled());
    Select(dialog, "Q");
    Button(dialog, 149)->click();
    EXPECT_TRUE(Ok(dialog)->isEnabled());
    double before = KmBetween(P, FAR);
    WaypointRecord q = doc.Waypoints()[Q];
    Ok(dialog)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NEAR(KmTo(P, q), 0, 1e-3) << "P lands where Q was";
    EXPECT_NEAR(KmBetween(P, FAR), before, 1e-3);
    EXPECT_GT(KmTo(Q, q), 100) << "Q, selected too, moved as far";
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MoveDialog, UseThenOkAppliesTheStoredSet)
{
    CMoveWaypointsDlg dialog(&view);
    Combo(dialog, "sets156")->setCurrentIndex(0);
    Button(dialog, 157)->click();
    EXPECT_EQ(PointText(dialog, 143), "* FAR");
    EXPECT_EQ(PointText(dialog, 144), "* Q");
    EXPECT_TRUE(Ok(dialog)->isEnabled());
    for (int id : {149, 150, 151}) {
        EXPECT_FALSE(Button(dialog, id)->isEnabled()) << id;
    }
    EXPECT_TRUE(Button(dialog, 148)->isEnabled());
    double before = KmBetween(FAR, P);
    WaypointRecord q = doc.Waypoints()[Q];
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_NEAR(KmTo(FAR, q), 0, 1e-3) << "FAR lands where Q was";
    EXPECT_NEAR(KmBetween(FAR, P), before, 1e-3);
}

TEST_F(MoveDialog, UseThenAPointTurnsTheSelectionAboutThatPoint)
{
    WaypointRecord p = doc.Waypoints()[P];
    double before = KmBetween(P, FAR);
    CMoveWaypointsDlg dialog(&view);
    Combo(dialog, "sets156")->setCurrentIndex(0);
    Button(dialog, 157)->click();
    Select(dialog, "P");
    Button(dialog, 148)->click();
    EXPECT_EQ(PointText(dialog, 144), "P");
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_LE(std::abs(doc.Waypoints()[P].latitude - p.latitude), 64) << "P stays";
    EXPECT_NEAR(KmBetween(P, FAR), before, 1e-3);
}

TEST_F(MoveDialog, OkRebuildsEveryListOfTheDocument)
{
    CDataView other;
    other.AttachDocument(&doc);
    other.OnInitialUpdate();
    int rebuilt = 0;
    QObject::connect(other.model(), &QAbstractItemModel::modelReset, [&] { ++rebuilt; });
    CMoveWaypointsDlg dialog(&view);
    Select(dialog, "P");
    Button(dialog, 148)->click();
    Select(dialog, "Q");
    Button(dialog, 149)->click();
    Ok(dialog)->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(rebuilt, 1);
    QAbstractItemModel* list = other.model();
    EXPECT_EQ(list->index(P, WPT_COL_LATITUDE).data().toString(), "47") << "where Q was";
    EXPECT_EQ(list->index(P, WPT_COL_LONGITUDE).data().toString(), "10");
}

TEST_F(MoveDialog, StoringOrDeletingASetMarksTheDocumentBeyondUndo)
{
    {
        CMoveWaypointsDlg dialog(&view);
        Select(dialog, "P");
        Button(dialog, 148)->click();
        Select(dialog, "Q");
        Button(dialog, 149)->click();
        Button(dialog, 158)->click();
        Combo(dialog, "sets156")->setEditText("Blatt 8");
        Ok(dialog)->click();
        ASSERT_EQ(doc.correctionSets.Count(), 2);
    }
    doc.Undo();
    EXPECT_TRUE(doc.IsModified()) << "the stored set is not undone";

    doc.SetModifiedFlag(false);
    CMoveWaypointsDlg dialog(&view);
    Combo(dialog, "sets156")->setCurrentIndex(0);
    Button(dialog, 159)->click();
    EXPECT_EQ(doc.correctionSets.Count(), 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MoveDialog, OkDoesNothingWhenTheViewNoLongerShowsWaypoints)
{
    CMoveWaypointsDlg dialog(&view);
    Select(dialog, "P");
    Button(dialog, 148)->click();
    Button(dialog, 149)->click();
    view.ShowTrackpoints();
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(doc.IsModified());
}

}  // namespace
