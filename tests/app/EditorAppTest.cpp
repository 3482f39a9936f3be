#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstring>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/COptionsDlg.h"
#include "app/CommandTables.h"
#include "edit/LivePosition.h"
#include "edit/LiveSession.h"
#include "framework/MdiChildFrame.h"
#include "gps/CDataDoc.h"
#include "link/GarminSimulator.h"
#include "link/PosixSerialPort.h"
#include "link/PseudoTerminal.h"
#include "link/SharedPort.h"
#include "link/TrackMotion.h"
#include "link/UnitProfile.h"
#include "live/PositionSources.h"
#include "res/CommandIds.h"
#include "tests/TempDir.h"
#include "tests/gps/GpsTestRecords.h"
#include "tests/link/ScriptedPort.h"

namespace {

TEST(OptionsDialog, ShowsTheStoredSettingsAndStoresThemOnOk)
{
    MemorySettings settings;
    Settings* previous = Settings::SetCurrent(&settings);
    settings.SetString("Settings", "Port", "com2:");
    {
        COptionsDlg dialog;
        EXPECT_EQ(dialog.port(), 2);
        EXPECT_EQ(dialog.displayFormat(), 0);
        dialog.findChild<QSpinBox*>("port137")->setValue(12);
        dialog.reject();
        EXPECT_EQ(settings.GetString("Settings", "Port", ""), "com2:");  // Cancel stores nothing
    }
    {
        COptionsDlg dialog;
        auto* port = dialog.findChild<QSpinBox*>("port137");
        port->setValue(10);
        port->stepBy(1);  // the arrows stop at 10
        EXPECT_EQ(port->value(), 10);
        port->setValue(12);  // typing goes further
        dialog.findChild<QButtonGroup*>()->button(1)->setChecked(true);
        dialog.accept();
    }
    EXPECT_EQ(settings.GetString("Settings", "Port", ""), "COM12:");
    EXPECT_EQ(settings.GetInt("Settings", "DisplayFormat", 0), 1);
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    settings.SetString("Settings", "Port", "/dev/ttyUSB7");
    // The unit last seen on the port, as the link noted it; the faster line can be turned off.
    settings.SetString("Settings", "LastUnit", "GPSMap60CSX Software Version 4.10");
    settings.SetString("Settings", "LastUnitProtocols", "L001 A100 D110");
    {
        COptionsDlg dialog;
        EXPECT_EQ(dialog.device(), "/dev/ttyUSB7");
        EXPECT_EQ(dialog.findChild<QLabel*>("lastUnit")->text(),
                  "GPSMap60CSX Software Version 4.10\nL001 A100 D110");
        auto* fastLine = dialog.findChild<QCheckBox*>("fastLine");
        EXPECT_TRUE(fastLine->isChecked());
        fastLine->setChecked(false);
        // The live position from gpsd on another machine; recording every 25 m.
        auto* gpsd = dialog.findChild<QLineEdit*>("gpsd");
        EXPECT_FALSE(gpsd->isEnabled());
        auto* source = dialog.findChild<QComboBox*>("liveSource");
        source->setCurrentIndex(source->findText("gpsd"));
        EXPECT_TRUE(gpsd->isEnabled());
        gpsd->setText("gps.local:");
        RecordingPrompts refused;
        Prompts* before = Prompts::SetCurrent(&refused);
        dialog.accept();  // a port without a number
        Prompts::SetCurrent(before);
        EXPECT_EQ(refused.messages.size(), 1u);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        gpsd->setText(" gps.local:3000 ");
        dialog.findChild<QComboBox*>("recordBy")->setCurrentIndex(1);
        dialog.findChild<QSpinBox*>("recordEvery")->setValue(25);
        dialog.accept();
    }
    EXPECT_EQ(settings.GetString("Settings", "Port", ""), "/dev/ttyUSB7");
    EXPECT_EQ(settings.GetInt("Settings", "FastLine", 1), 0);
    const LiveSourceSettings live = ReadLiveSourceSettings(settings);
    EXPECT_EQ(live.kind, LiveSourceSettings::Kind::GPSD);
    EXPECT_EQ(GpsdAddress(live), "gps.local:3000");
    EXPECT_EQ(ReadRecordingInterval().kind, RecordingInterval::Kind::DISTANCE);
    EXPECT_EQ(ReadRecordingInterval().metres, 25);

    // With a GPS data document: the receiver whose rules its names follow.
    CDataDoc doc;
    {
        COptionsDlg dialog(nullptr, &doc);
        auto* receiver = dialog.findChild<QComboBox*>("receiver");
        ASSERT_NE(receiver, nullptr);
        EXPECT_EQ(receiver->currentData().toString(), "gps12");
        receiver->setCurrentIndex(receiver->findData(QStringLiteral("named14")));
        dialog.accept();
    }
    EXPECT_STREQ(doc.Receiver().id, "named14");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(COptionsDlg().findChild<QComboBox*>("receiver"), nullptr) << "no document";
    Settings::SetCurrent(previous);
}

TEST(MenuLayout, GpsEntriesOfTheMainMenuAndOfAGpsDataWindow)
{
    auto gpsMenu = [](int resource) {
        for (const MenuPopup& popup : CommandsOf(resource).menus) {
            if (std::strcmp(popup.title, "GPS") == 0) {
                return popup.commands;
            }
        }
        return std::vector<int>();
    };
    EXPECT_EQ(
        gpsMenu(IDR_GPSDATA),
        (std::vector<int>{ID_GPS_CONNECT, ID_GPS_TIME, 0, ID_GPS_WPT_DOWNLOAD, ID_GPS_TRK_DOWNLOAD,
                          ID_GPS_RTE_DOWNLOAD, 0, ID_GPS_WPT_UPLOAD, ID_GPS_TRK_UPLOAD,
                          ID_GPS_RTE_UPLOAD, 0, ID_GPS_LIVE, ID_GPS_RECORD, 0, ID_GPS_POWER_OFF}));
    EXPECT_EQ(gpsMenu(IDR_MAINFRAME),
              (std::vector<int>{ID_GPS_CONNECT, ID_GPS_TIME, ID_GPS_WPT_DOWNLOAD,
                                ID_GPS_TRK_DOWNLOAD, 0, ID_GPS_LIVE, 0, ID_GPS_POWER_OFF}));
    EXPECT_STREQ(MenuText(IDR_MAINFRAME, ID_GPS_WPT_DOWNLOAD), "Waypoints laden");
    EXPECT_STREQ(MenuText(IDR_GPSDATA, ID_GPS_WPT_DOWNLOAD), "Waypoints download");
    std::vector<int> data = gpsMenu(IDR_GPSDATA);
    EXPECT_NE(std::find(data.begin(), data.end(), ID_GPS_WPT_UPLOAD), data.end());
}

// Qt's own buttons speak the program's language too.
TEST(EditorLanguage, TheQuestionAboutUnsavedChangesIsGermanToItsButtons)
{
    MemorySettings settings;
    CEditorApp app(&settings);                                          // with real message boxes
    app.documents().chooseType = [](const QStringList&) { return 1; };  // a map
    ASSERT_TRUE(app.InitInstance({}, false));
    Document* map = app.documents().Documents().front();
    map->SetModifiedFlag();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons()) {
            seen << button->text();
        }
        seen.sort();
        seen.prepend(box->text());
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
    });
    EXPECT_FALSE(app.documents().CloseDocument(map)) << "Abbrechen keeps the map";
    EXPECT_EQ(seen.join('|').toStdString(),
              "Änderungen an Orvi Karte1 speichern?|&Ja|&Nein|Abbrechen");
}

// The editor with a simulated receiver on a pseudo-terminal as its port.
class EditorWithReceiver : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        auto line = PseudoTerminal::Create(error);
        ASSERT_TRUE(line) << error;
        settings.SetString("Settings", "Port", line->DevicePath());
        settings.SetInt("Settings", "DisplayFormat", 1);
        for (int i = 0; i < 16; ++i) {
            waypoints.push_back(TestWaypoint(i));
        }
        simulator.SetWaypoints(waypoints);
        std::vector<TrackpointRecord> track;
        for (int i = 0; i < 3000; ++i) {
            track.push_back(TestTrackpoint(i));
        }
        simulator.SetTrackpoints(track);
        ASSERT_TRUE(simulator.Start(std::move(line)));
        SharedPort::Instance().SetOpener([this](const std::string& name, int& error) {
            ++opens;
            auto port = PosixSerialPort::Open(name);
            error = port ? 0 : errno;
            return std::unique_ptr<SerialPort>(std::move(port));
        });
        app = std::make_unique<CEditorApp>(&settings, &prompts);
        // Started without a file, the editor asks for the type: GPS data.
        app->documents().chooseType = [](const QStringList& names) {
            return static_cast<int>(names.indexOf("Orvi GPS - Daten"));
        };
    }
    void TearDown() override
    {
        app.reset();
        SharedPort::Instance().SetOpener(nullptr);
        simulator.Stop();
    }

    CMainFrame& frame() { return *app->mainFrame(); }
    CDataDoc* ActiveDocument()
    {
        MdiChildFrame* child = frame().ActiveChild();
        return child ? dynamic_cast<CDataDoc*>(child->document()) : nullptr;
    }

    MemorySettings settings;
    RecordingPrompts prompts;
    GarminSimulator simulator;
    std::vector<WaypointRecord> waypoints;
    int opens = 0;
    std::unique_ptr<CEditorApp> app;
};

TEST_F(EditorWithReceiver, GpsCommandsFollowTheActiveWindow)
{
    ASSERT_TRUE(app->InitInstance({}, false));
    CDataDoc* doc = ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(opens, 1);  // the new document opened the port
    EXPECT_EQ(frame().MenuResource(), IDR_GPSDATA);

    // Check connection goes to the document: the description through its own connection.
    prompts.messages.clear();
    EXPECT_TRUE(frame().Execute(ID_GPS_CONNECT));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"GPS 12 Software Version 4.60"});

    // The clock goes to the main window, sharing the document's port.
    EXPECT_TRUE(frame().Execute(ID_GPS_TIME));
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0].rfind("Zeit des GPS-Empfängers:\t", 0), 0u);
    EXPECT_EQ(opens, 1);

    // Waypoints download goes to the view: the document takes the records.
    EXPECT_TRUE(frame().Execute(ID_GPS_WPT_DOWNLOAD));
    ASSERT_EQ(doc->waypointCount(), 16);
    EXPECT_TRUE(SameBytes(doc->Waypoints()[5], waypoints[5]));
    EXPECT_TRUE(frame().Update(ID_GPS_WPT_UPLOAD).enabled);
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "16 / 16");
    EXPECT_EQ(prompts.messages.size(), 1u);

    // Without a document the main window downloads and keeps nothing.
    doc->SetModifiedFlag(false);
    EXPECT_TRUE(frame().Execute(ID_FILE_CLOSE));
    QApplication::processEvents();
    EXPECT_EQ(frame().ActiveChild(), nullptr);
    EXPECT_EQ(frame().MenuResource(), IDR_MAINFRAME);
    EXPECT_FALSE(frame().Update(ID_GPS_WPT_UPLOAD).enabled);
    frame().SetStatusPaneText(ID_INDICATOR_MOUSEPOS, QString());
    EXPECT_TRUE(frame().Execute(ID_GPS_WPT_DOWNLOAD));
    EXPECT_EQ(opens, 2);
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "16 / 16");
    EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST_F(EditorWithReceiver, ACancelledDownloadLeavesTheDocumentAlone)
{
    simulator.SetBaudRate(9600);  // 3000 points take about a minute
    ASSERT_TRUE(app->InitInstance({}, false));
    CDataDoc* doc = ActiveDocument();
    ASSERT_NE(doc, nullptr);
    doc->ReplaceTrackpoints({TestTrackpoint(42)});
    QTimer::singleShot(700, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(w)) {
                for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                    button->click();
                }
            }
        }
    });
    EXPECT_TRUE(frame().Execute(ID_GPS_TRK_DOWNLOAD));
    ASSERT_EQ(doc->trackpointCount(), 1);
    EXPECT_TRUE(SameBytes(doc->Trackpoints()[0], TestTrackpoint(42)));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS).isEmpty());
}

// The receiver's PVT stream and a link's exchange on the same port: the stream waits while
// a new document's link opens and while a download runs, and comes again after.
TEST_F(EditorWithReceiver, TheLivePositionWaitsForLinkOpeningsAndTransfers)
{
    simulator.SetUnit(*UnitByModel("etrex"));
    simulator.SetBaudRate(9600);  // a packet takes its time on the line, as on a real one
    ASSERT_TRUE(simulator.SetMoving(TrackMotion({TestTrackpoint(0), TestTrackpoint(1)}), {10}));
    settings.SetInt("Settings", "LiveSource", 0);  // the receiver's PVT
    ASSERT_TRUE(app->InitInstance({}, false));
    int fixes = 0;
    QObject::connect(&LiveSession::Instance(), &LiveSession::fixShown,
                     [&fixes](const LiveFix&, qint64) { ++fixes; });
    auto fixesCome = [&fixes] {
        const int before = fixes;
        return QTest::qWaitFor([&] { return fixes > before + 2; }, 5000);
    };
    EXPECT_TRUE(frame().Execute(ID_GPS_LIVE));
    ASSERT_TRUE(fixesCome());
    prompts.messages.clear();
    EXPECT_TRUE(frame().Execute(ID_FILE_NEW));
    EXPECT_TRUE(fixesCome());
    EXPECT_TRUE(frame().Execute(ID_GPS_WPT_DOWNLOAD));
    EXPECT_EQ(ActiveDocument()->waypointCount(), 16);
    EXPECT_TRUE(fixesCome());
    EXPECT_TRUE(prompts.messages.empty()) << prompts.messages.front();
    EXPECT_TRUE(frame().Execute(ID_GPS_LIVE));
    EXPECT_FALSE(LiveSession::Instance().Running());
}

}  // namespace

TEST_F(EditorWithReceiver, ARecordingIsOneChangeAndOneACrashEndedIsOfferedBack)
{
    TempDir dir;
    LiveSession& live = LiveSession::Instance();
    LiveSession::JournalPath() = dir.File("journal");
    auto fixAt = [](int second) {
        LiveFix fix;
        fix.kind = FixKind::THREE_D;
        fix.utcMillis = (1796810400LL + second) * 1000;
        fix.latitude = 47.17 + second * 1e-4;
        fix.longitude = 8.51;
        fix.altitude = 430;
        fix.satellites = 8;
        return fix;
    };
    ASSERT_TRUE(app->InitInstance({}, false));
    CDataDoc* doc = ActiveDocument();
    ASSERT_NE(doc, nullptr);
    // The source is this test: it hands the fixes to the session itself.
    LiveSession::Starter() = [&live] {
        live.TakeState(LiveState::WAITING, {});
        return true;
    };
    EXPECT_TRUE(frame().Execute(ID_GPS_RECORD));  // starts the source too
    EXPECT_TRUE(frame().Update(ID_GPS_RECORD).checked);
    for (int s = 0; s < 5; ++s) {
        live.TakeFix(fixAt(s));
    }
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_LIVE), "\u25CF 3D  8 Sat.  430 m");
    EXPECT_TRUE(frame().Execute(ID_GPS_RECORD));
    EXPECT_EQ(doc->trackpointCount(), 5);
    EXPECT_STREQ(doc->TrackpointDetailsAt(0).trackName, "Aufzeichnung 2026-12-09T10:00:00Z");
    EXPECT_FALSE(ReadJournal(dir.File("journal"))) << "the document holds the points";
    EXPECT_TRUE(frame().Execute(ID_EDIT_UNDO));
    EXPECT_EQ(doc->trackpointCount(), 0);

    // A document filled meanwhile (by a download, say) cannot take the recording: it says
    // so, and the journal keeps the points.
    EXPECT_TRUE(frame().Execute(ID_GPS_RECORD));
    live.TakeFix(fixAt(10));
    doc->ReplaceTrackpoints(std::vector<TrackpointRecord>(MAX_DOC_RECORDS, TestTrackpoint(0)));
    prompts.messages.clear();
    EXPECT_TRUE(frame().Execute(ID_GPS_RECORD));
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(ReadJournal(dir.File("journal"))->points.size(), 1u);
    live.Stopped();
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_LIVE), "");

    // A recording that never ended: the next start offers its points as a new document.
    std::string error;
    LiveRecording::Start(dir.File("journal"), {}, 100, error)->Take(fixAt(0));
    app.reset();
    app = std::make_unique<CEditorApp>(&settings, &prompts);
    app->documents().chooseType = [](const QStringList& names) {
        return static_cast<int>(names.indexOf("Orvi GPS - Daten"));
    };
    prompts.answers = {true};
    ASSERT_TRUE(app->InitInstance({}, false));
    EXPECT_EQ(prompts.questions.back(),
              "Eine Aufzeichnung wurde nicht beendet (1 Trackpoints). In ein neues Dokument "
              "übernehmen?");
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_EQ(ActiveDocument()->trackpointCount(), 1);
    EXPECT_FALSE(ReadJournal(dir.File("journal")));
    LiveSession::JournalPath().clear();
    LiveSession::Starter() = [] { return false; };
}
