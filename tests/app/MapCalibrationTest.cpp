// "Karte kalibrieren..." as a user meets it: the menu command, the dialog's fields and
// buttons, undo, and the position pane of a calibrated map.

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "convert/GeoReference.h"
#include "edit/LiveSession.h"
#include "framework/CompoundFile.h"
#include "res/CommandIds.h"
#include "tests/app/MapWindowFixture.h"
#include "tests/edit/ModalDialogCloser.h"

namespace {

using CalibrationRows = std::vector<std::vector<const char*>>;  // x, y, latitude, longitude

// Types the rows into the dialog (an empty text leaves its field as it is) and clicks OK.
void TypeAndAccept(QDialog& dialog, const CalibrationRows& rows)
{
    const char* fields[] = {"x", "y", "latitude", "longitude"};
    for (size_t row = 0; row < rows.size(); ++row) {
        for (size_t field = 0; field < 4; ++field) {
            if (*rows[row][field]) {
                auto* edit =
                    Child<QLineEdit>(dialog, (fields[field] + std::to_string(row + 1)).c_str());
                edit->selectAll();
                QTest::keyClicks(edit, QString::fromLatin1(rows[row][field]));
            }
        }
    }
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

const CalibrationRows kNorthUp = {
    {"", "", "47.4", "8.45"}, {"760", "40", "47.4", "8.7"}, {"40", "760", "47.25", "8.45"}};

TEST_F(MapWindow, ACalibrationFromTheMenuIsOneUndoStepAndThePaneShowsPositions)
{
    // A rectangle round (40, 40), selected: its centre becomes the first point.
    Key(Qt::Key_R);
    Drag(view, {30, 30}, {50, 50});
    Key(Qt::Key_A, Qt::ControlModifier);
    {
        ModalDialogCloser closer([](QDialog& dialog) {
            QTest::mouseClick(Child<QPushButton>(dialog, "selection1"), Qt::LeftButton);
            EXPECT_EQ(Child<QLineEdit>(dialog, "x1")->text(), "40");
            EXPECT_EQ(Child<QLineEdit>(dialog, "y1")->text(), "40");
            TypeAndAccept(dialog, kNorthUp);
        });
        frame().Action(ID_MAP_CALIBRATE)->trigger();
        EXPECT_EQ(closer.seen(), 1);
    }
    const ControlPoints expected = {
        {{40, 40, 47.4, 8.45}, {760, 40, 47.4, 8.7}, {40, 760, 47.25, 8.45}}};
    EXPECT_EQ(doc->GetGeoReference(), MapGeoReference::OfControlPoints(expected));

    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
    QTest::mouseMove(view->viewport(), QPoint(40, 40));
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "x 40, y 40   N 47.40000  E 8.45000");

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(doc->GetGeoReference());
    QTest::mouseMove(view->viewport(), QPoint(60, 60));
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "x 60, y 60");
    Key(Qt::Key_Y, Qt::ControlModifier);

    // "Kalibrierung entfernen": the dialog shows the points; the removal is one step too.
    {
        ModalDialogCloser closer([](QDialog& dialog) {
            EXPECT_EQ(Child<QLineEdit>(dialog, "longitude2")->text(), "8.7");
            QTest::mouseClick(Child<QPushButton>(dialog, "remove"), Qt::LeftButton);
        });
        frame().Action(ID_MAP_CALIBRATE)->trigger();
    }
    EXPECT_FALSE(doc->GetGeoReference());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(doc->GetGeoReference());
}

TEST_F(MapWindow, PointsInALineAreRefusedAndTheDialogStaysOpen)
{
    bool stayedOpen = false;
    {
        ModalDialogCloser closer([&](QDialog& dialog) {
            TypeAndAccept(dialog, {{"100", "100", "47.4", "8.4"},
                                   {"400", "400", "47.3", "8.5"},
                                   {"700", "700", "47.2", "8.6"}});
            stayedOpen = dialog.isVisible();
        });
        frame().Action(ID_MAP_CALIBRATE)->trigger();
    }
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0], GeoReferenceFaultText(GeoReferenceFault::PAGE_POINTS_IN_LINE));
    EXPECT_FALSE(doc->GetGeoReference());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(MapWindow, AMapWithADamagedGeoReferenceOpensWithoutItAndSaysSo)
{
    CDrawDoc placed;
    placed.OnNewDocument();
    placed.SetGeoReference(MapGeoReference::OfControlPoints(
        {{{40, 40, 47.4, 8.45}, {760, 40, 47.4, 8.7}, {40, 760, 47.25, 8.45}}}));
    placed.OnSaveDocument(dir.File("placed.orvg"));
    CompoundStorage file = ReadCompoundFile(dir.File("placed.orvg"));
    file.streams[GEO_REFERENCE_STREAM_NAME].resize(20);
    WriteCompoundFile(dir.File("placed.orvg"), file);

    auto* opened = dynamic_cast<CDrawDoc*>(
        app->documents().OpenDocumentFile(QString::fromStdString(dir.File("placed.orvg"))));
    ASSERT_NE(opened, nullptr);
    EXPECT_FALSE(opened->GetGeoReference());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_NE(prompts.messages[0].find("Georeferenz dieser Karte ist beschädigt"),
              std::string::npos);
}

TEST_F(MapWindow, TheLivePositionShowsWhereTheCalibrationPutsIt)
{
    doc->SetGeoReference(MapGeoReference::OfControlPoints(
        {{{40, 40, 47.4, 8.45}, {760, 40, 47.4, 8.7}, {40, 760, 47.25, 8.45}}}));
    LiveFix fix;
    fix.kind = FixKind::TWO_D;
    fix.latitude = 47.325;  // halfway down and across the page
    fix.longitude = 8.575;
    fix.speed = 3;
    fix.course = 90;
    fix.horizontalError = 200;
    LiveSession::Instance().TakeFix(fix);
    const auto& marker = view->GetPageMarker();
    ASSERT_TRUE(marker);
    EXPECT_EQ(marker->at, (CPoint{400, 400}));
    ASSERT_TRUE(marker->ahead);
    EXPECT_GT(marker->ahead->x, 400) << "east is to the right";
    EXPECT_EQ(marker->ahead->y, 400);
    EXPECT_NEAR(marker->errorUnits, 200.0 * 720 / (0.15 * 111300), 1)
        << "720 units for 0.15 degrees of latitude";
    LiveSession::Instance().Stopped();
    EXPECT_FALSE(view->GetPageMarker());
}

}  // namespace
