#include "edit/CWaypointDlg.h"

#include <memory>

#include <gtest/gtest.h>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "edit/CDataView.h"
#include "edit/CGridCoordDlg.h"
#include "edit/DialogControls.h"
#include "edit/DialogNumbers.h"
#include "gps/CDataDoc.h"
#include "tests/RecordingPrompts.h"
#include "tests/edit/ProcessSettings.h"
#include "tests/gps/GpsTestRecords.h"

namespace {

constexpr double kKmPerDegree = 6378 * 3.141592653589793 / 180;

// Record indices of the test document.
enum { REF, FAR_NORTH, TARGET };

WaypointRecord At(const char* name, double lat, double lon)
{
    WaypointRecord w = TestWaypoint(2);
    SetFieldText(w.ident, sizeof w.ident, name);
    w.latitude = DegreesToSemicircles(lat);
    w.longitude = DegreesToSemicircles(lon);
    return w;
}

// Takes the grid dialog's result from a preset position instead of running it.
class GridAnsweringDlg : public CWaypointDlg {
public:
    using CWaypointDlg::CWaypointDlg;
    bool acceptGrid = true;

protected:
    int RunGridDialog(CGridCoordDlg& grid) override
    {
        grid.findChild<QLineEdit*>("edit126")->setText("7");
        grid.findChild<QLineEdit*>("edit127")->setText("30");
        grid.findChild<QLineEdit*>("edit128")->setText("0");
        acceptGrid ? grid.accept() : grid.reject();
        return grid.result();
    }
};

class WaypointDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = Prompts::SetCurrent(&prompts);
        WaypointRecord records[] = {
            At("REF", 48, 11),
            At("NORTH", 48 + 1.234567 / kKmPerDegree, 11),
            At("TARGET", 48.5, 11.5),
        };
        doc.InsertWaypoints(0, 3, records);
        view.AttachDocument(&doc);
        view.OnInitialUpdate();
    }
    void TearDown() override { Prompts::SetCurrent(previous); }

    template <class Widget = QLineEdit>
    static Widget* Control(const CWaypointDlg& dialog, const char* name)
    {
        auto* widget = dialog.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    // What the user's typing does: the new text and the edit's notification.
    static void Type(const CWaypointDlg& dialog, const char* name, const QString& text)
    {
        QLineEdit* edit = Control(dialog, name);
        edit->setText(text);
        emit edit->textEdited(text);
    }
    static void ChooseReference(const CWaypointDlg& dialog, const char* name)
    {
        auto* box = Control<QComboBox>(dialog, "reference149");
        box->setCurrentIndex(box->findText(name));
        emit box->activated(box->currentIndex());
    }
    static QString Text(const CWaypointDlg& dialog, const char* name)
    {
        return Control(dialog, name)->text();
    }

    ScopedLocale locale{"C"};
    RecordingPrompts prompts;
    Prompts* previous = nullptr;
    CDataDoc doc;
    CDataView view;
};

TEST_F(WaypointDialog, ANewWaypointOpensEmptyWithTheSymbolPicturesAndNoReferenceYet)
{
    CWaypointDlg dialog(&view);
    EXPECT_EQ(dialog.windowTitle(), "Waypoint - Daten");
    EXPECT_EQ(Text(dialog, "name129"), "");
    EXPECT_EQ(Text(dialog, "longitude132"), "0");
    EXPECT_EQ(Text(dialog, "latitude133"), "0");
    auto* symbols = Control<QComboBox>(dialog, "symbol127");
    ASSERT_EQ(symbols->count(), 16);
    EXPECT_EQ(symbols->currentText(), "1:  dot");
    EXPECT_EQ(symbols->itemText(9), "10: skull");
    EXPECT_FALSE(symbols->itemIcon(15).isNull());
    EXPECT_EQ(Control<QComboBox>(dialog, "display128")->currentText(), "Symbol + Name");
    EXPECT_FALSE(Control(dialog, "course150")->isEnabled());
    EXPECT_FALSE(Control(dialog, "distance151")->isEnabled());
    auto* references = Control<QComboBox>(dialog, "reference149");
    EXPECT_EQ(references->count(), 3);
    EXPECT_EQ(references->currentIndex(), -1);

    CWaypointDlg alone(nullptr);
    EXPECT_FALSE(Control<QComboBox>(alone, "reference149")->isEnabled());
    EXPECT_EQ(Control<QComboBox>(alone, "reference149")->count(), 0);
}

TEST_F(WaypointDialog, OkStoresTheUpperCaseNameTheTextsAndTheSelections)
{
    CWaypointDlg dialog(&view, At("OLD   ", 1, 2));
    EXPECT_EQ(Text(dialog, "name129"), "OLD") << "trailing blanks are not shown";
    Type(dialog, "name129", "süd");
    EXPECT_EQ(Text(dialog, "name129"), "SÜD");
    Type(dialog, "comment131", "am fluß");
    EXPECT_EQ(Text(dialog, "comment131"), "AM FLUß");
    Type(dialog, "longitude132", "-8.5");
    Control<QComboBox>(dialog, "symbol127")->setCurrentIndex(6);
    Control<QComboBox>(dialog, "display128")->setCurrentIndex(2);
    dialog.accept();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const WaypointRecord& w = dialog.Record();
    EXPECT_EQ(std::string(w.ident, 6), "SUD   ") << "stored as renaming in the list stores it";
    EXPECT_EQ(WaypointComment(w), "AM FLU\xdf");
    EXPECT_EQ(w.longitude, DegreesToSemicircles(-8.5));
    EXPECT_EQ(w.latitude, At("", 1, 2).latitude) << "the untouched latitude stays as it was";
    EXPECT_EQ(w.symbol, 6);
    EXPECT_EQ(w.display, 2);
}

TEST_F(WaypointDialog, OkRefusesANamelessWaypointAndATypedPositionOffTheEarth)
{
    struct Case {
        const char* field;
        const char* typed;
        const char* says;  // null: accepted
    } cases[] = {
        {"name129", "?", "Der Name braucht"},
        {"longitude132", "-200", "Die Länge muss zwischen -180 und 180 Grad liegen."},
        {"latitude133", "95", "Die Breite muss zwischen -90 und 90 Grad liegen."},
        {"longitude132", "-180", nullptr},
        {"latitude133", "-90", nullptr},
        {"altitude", "200000", "Die Höhe muss zwischen -100000 und 100000 m liegen."},
        {"altitude", "-412.5", nullptr},
    };
    for (const Case& c : cases) {
        CWaypointDlg dialog(&view, At("OLD", 1, 2));
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* edit = Control(dialog, c.field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        QTest::keyClick(edit, Qt::Key_Return);  // the dialog's default button, OK
        EXPECT_EQ(dialog.isVisible(), c.says != nullptr) << c.field << " " << c.typed;
        if (!c.says) {
            continue;
        }
        ASSERT_FALSE(prompts.messages.empty()) << c.field;
        EXPECT_EQ(prompts.messages.back().rfind(c.says, 0), 0u) << prompts.messages.back();
        EXPECT_TRUE(edit->hasFocus()) << c.field;
    }
    // A record that holds such a position already is shown and stored as it is.
    WaypointRecord north = At("NORTH", 0, 2);
    north.latitude = DegreesToSemicircles(95);
    CWaypointDlg dialog(&view, north);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(SameBytes(dialog.Record(), north));
}

TEST_F(WaypointDialog, ALaterReceiversWaypointKeepsItsWholeNameAndTakesAltitudeAndFullSymbol)
{
    WaypointRecord record = At("", 47, 8);
    WaypointDetails details = NoWaypointDetails();
    SetWaypointName(record, details, "Aussicht Zugerberg");
    details.altitude = 988;

    // Under the GPS 12's rules a whole name is shown and kept while it is not edited.
    CWaypointDlg unchanged(&view, record, details);
    EXPECT_EQ(Text(unchanged, "name129"), "Aussicht Zugerberg");
    EXPECT_EQ(Text(unchanged, "altitude"), "988");
    unchanged.accept();
    EXPECT_EQ(WaypointName(unchanged.Record(), unchanged.Details()), "Aussicht Zugerberg");

    doc.SetReceiver("named14");
    CWaypointDlg dialog(&view, record, details);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* symbol = Control<QComboBox>(dialog, "symbol127");
    symbol->setCurrentIndex(symbol->findText(QStringLiteral("Marina")));
    for (auto [field, typed] : {std::pair{"name129", "Hafen Zug-See"}, {"altitude", "413.5"}}) {
        QLineEdit* edit = Control(dialog, field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, QString::fromLatin1(typed));
    }
    QTest::keyClick(Control(dialog, "altitude"), Qt::Key_Return);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(WaypointName(dialog.Record(), dialog.Details()), "Hafen Zug-See");
    EXPECT_EQ(WaypointIdent(dialog.Record()), "HAFEN ");
    EXPECT_EQ(dialog.Details().altitude, 413.5f);
    EXPECT_EQ(WaypointFullSymbol(dialog.Record(), dialog.Details()), *SymbolByName("Marina"));
    EXPECT_EQ(dialog.Record().symbol, SYMBOL_BOAT);
}

TEST_F(WaypointDialog, ASymbolOrDisplayOutsideTheListsSelectsNothingAndStoresMinusOne)
{
    WaypointRecord odd = At("ODD", 0, 0);
    odd.symbol = 16;
    odd.display = 3;
    CWaypointDlg dialog(&view, odd);
    EXPECT_EQ(Control<QComboBox>(dialog, "symbol127")->currentText(), "");
    EXPECT_EQ(Control<QComboBox>(dialog, "display128")->currentText(), "");
    dialog.accept();
    EXPECT_EQ(static_cast<uint16_t>(dialog.Record().symbol), 0xFFFF);
    EXPECT_EQ(dialog.Record().display, 0xFF);
}

TEST_F(WaypointDialog, AReferenceGivesTheCutDistanceAndATypedCourseMovesTheWaypoint)
{
    WaypointRecord record;
    doc.GetWaypoint(FAR_NORTH, record);
    CWaypointDlg dialog(&view, record);
    ChooseReference(dialog, "REF");
    EXPECT_TRUE(Control(dialog, "course150")->isEnabled());
    EXPECT_EQ(Text(dialog, "distance151"), "1.23") << "1.234567 km, cut";
    Type(dialog, "distance151", "0");
    Type(dialog, "course150", "90");
    WaypointRecord reference;
    doc.GetWaypoint(REF, reference);
    EXPECT_EQ(Text(dialog, "latitude133"),
              FromUtf8(FormatDialogDouble(SemicirclesToDegrees(reference.latitude))));
    EXPECT_EQ(Text(dialog, "longitude132"),
              FromUtf8(FormatDialogDouble(SemicirclesToDegrees(reference.longitude))));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(WaypointDialog, ACourseOf359Point6Shows360)
{
    GeoPosition p;
    PositionFromCourse({48, 11}, {359.6, 5.005}, p);
    CWaypointDlg dialog(&view, At("X", p.latitude, p.longitude));
    ChooseReference(dialog, "REF");
    EXPECT_EQ(Text(dialog, "course150"), "360");
    EXPECT_EQ(Text(dialog, "distance151"), "5");
}

TEST_F(WaypointDialog, ADistanceEqualToTheLastAppliedOneMovesNothingInAnyDialog)
{
    ApplyNewDistance(0);
    CWaypointDlg first(&view, At("X", 48.5, 11));
    QString opened = Text(first, "latitude133");
    ChooseReference(first, "REF");
    Type(first, "distance151", "2.5");
    EXPECT_NE(Text(first, "latitude133"), opened) << "a new distance applies";

    CWaypointDlg second(&view, At("Y", 48.5, 11));
    ChooseReference(second, "REF");
    Type(second, "distance151", "2.5");
    EXPECT_EQ(Text(second, "latitude133"), opened);
    Type(second, "distance151", "2.50");
    EXPECT_EQ(Text(second, "latitude133"), opened);
    EXPECT_EQ(Text(second, "distance151"), "2.50") << "the typed text stays";
}

TEST_F(WaypointDialog, InputThatCannotBeReadIsPromptedAndKeepsTheDialogOpen)
{
    struct Case {
        const char* control;
        const char* text;
        const char* prompt;
    } cases[] = {
        {"course150", "361", "Please enter an integer between 0 and 360."},
        {"course150", "9O", "Please enter an integer."},
        {"distance151", "2000.5", "Please enter a number between 0 and 2000."},
        {"longitude132", "abc", "Please enter a number."},
        {"latitude133", "nan", "Please enter a number."},
    };
    for (const Case& c : cases) {
        CWaypointDlg dialog(&view, At("X", 1, 2));
        Control(dialog, c.control)->setText(c.text);
        prompts.messages.clear();
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.control << " " << c.text;
        EXPECT_EQ(prompts.messages, std::vector<std::string>{c.prompt}) << c.text;
        EXPECT_TRUE(SameBytes(dialog.Record(), At("X", 1, 2)));
    }
    CWaypointDlg typing(&view, At("X", 1, 2));
    ChooseReference(typing, "REF");
    prompts.messages.clear();
    Type(typing, "course150", "400");
    EXPECT_EQ(prompts.messages.size(), 1u) << "typing a course reads every control";
}

TEST_F(WaypointDialog, GridHelpTakesThePositionAfterOkOnly)
{
    GridAnsweringDlg dialog(&view, At("X", 1.5, 2.5));
    dialog.OnGridHelp();
    EXPECT_EQ(Text(dialog, "longitude132"), "7.5");
    EXPECT_NEAR(Text(dialog, "latitude133").toDouble(), 1.5, 1e-7);
    dialog.acceptGrid = false;
    Type(dialog, "longitude132", "3");
    dialog.OnGridHelp();
    EXPECT_EQ(Text(dialog, "longitude132"), "3");
}

}  // namespace
