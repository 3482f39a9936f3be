#include "app/CEditorApp.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QWindow>
#include <cstdio>

#include "app/CAboutBox.h"
#include "app/CDataFrame.h"
#include "app/CMainFrame.h"
#include "app/COptionsDlg.h"
#include "app/CSplitFrame.h"
#include "app/CommandTables.h"
#include "app/DisplayFormat.h"
#include "app/MapGeoReferencing.h"
#include "draw/model/CDrawDoc.h"
#include "draw/view/CDrawView.h"
#include "edit/CDataView.h"
#include "edit/CPlotView.h"
#include "edit/LiveSession.h"
#include "framework/Prompts.h"
#include "gps/CDataDoc.h"
#include "link/CGpsConnection.h"
#include "res/CommandIds.h"

CEditorApp* CEditorApp::instance_ = nullptr;

namespace {

const char* const kGpsDataStrings =
    "\nGPS-Data\nOrvi GPS - Daten\nOrvi GPS - Daten (*.orvd)\n.orvd\nOrvi.Data\nOrvi GPS Data "
    "Files";
const char* const kMapStrings =
    "\nOrvi Karte\nOrvi Karten\nOrvi Karten - Dateien (*.orvg)\n.orvg\nOrviMap\nOrvi Map Files";

// Asks for the focus for a window once the display shows it: before that the display
// refuses it, and without a window manager nobody else hands it over.
class ActivateWhenExposed : public QObject {
public:
    explicit ActivateWhenExposed(QWindow* window) : QObject(window)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->requestActivate();
            window->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};

}  // namespace

CEditorApp::CEditorApp(Settings* settings, Prompts* prompts)
{
    instance_ = this;
    // The program speaks German whatever the desktop's language; without Qt's translations
    // installed, Qt's own texts stay English.
    if (qtTexts_.load(QStringLiteral("qtbase_de"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtTexts_);
    }
    previousSettings_ = Settings::SetCurrent(settings ? settings : &qtSettings_);
    previousPrompts_ = Prompts::SetCurrent(prompts ? prompts : &qtPrompts_);
    previousRunner_ = TaskRunner::SetCurrent(&runner_);
    DrawObjEditor::Install(&drawEditor_);
    documents_ = std::make_unique<DocManager>();
}

CEditorApp::~CEditorApp()
{
    DrawObjEditor::Install(nullptr);
    CDrawView::MousePositionSink() = nullptr;
    CDrawView::SetPrinter(nullptr);
    mainFrame_.reset();
    documents_.reset();
    TaskRunner::SetCurrent(previousRunner_);
    Prompts::SetCurrent(previousPrompts_);
    Settings::SetCurrent(previousSettings_);
    instance_ = nullptr;
}

bool CEditorApp::InitInstance(const QStringList& files, bool show)
{
    ApplyStoredDisplayFormat();
    RegisterDocumentTypes();
    mainFrame_ = std::make_unique<CMainFrame>(this, documents_.get());
    runner_.SetDialogParent(mainFrame_.get());
    CDrawView::SetPrinter(&printer());
    CDrawView::MousePositionSink() = [this](const CDrawDoc& map, CPoint page) {
        SetStatusPaneText(ID_INDICATOR_MOUSEPOS, MapPositionText(map, page), true);
    };
    QObject::connect(documents_.get(), &DocManager::documentOpened, mainFrame_.get(),
                     [](Document* document, DocTemplate*) { ReportGeoReferenceDamage(document); });
    CPlotView::MousePositionSink() = [this](const QString& text) {
        SetStatusPaneText(ID_INDICATOR_MOUSEPOS, text, true);
    };
    RegisterCommands();
    // The live position on the maps placed on the earth.
    LiveSession& live = LiveSession::Instance();
    connect(&live, &LiveSession::fixShown, mainFrame_.get(), [this](const LiveFix& fix, qint64) {
        ShowLivePositionOnMaps(*documents_, &fix, true);
    });
    connect(&live, &LiveSession::receivingChanged, mainFrame_.get(), [this, &live](bool receiving) {
        if (live.Path().HasPosition()) {
            ShowLivePositionOnMaps(*documents_, &live.Path().LastPosition(), receiving);
        }
    });
    connect(&live, &LiveSession::cleared, mainFrame_.get(),
            [this] { ShowLivePositionOnMaps(*documents_, nullptr, false); });
    if (show) {
        mainFrame_->show();
        // Keys reach the program at once, also where no window manager hands it the focus.
        mainFrame_->activateWindow();
        if (QWindow* window = mainFrame_->windowHandle(); window && !window->isExposed()) {
            new ActivateWhenExposed(window);
        }
    }
    if (files.isEmpty()) {
        documents_->FileNew();
        OfferUnfinishedRecording();
        return true;
    }
    // Each file that cannot be opened has said so; the program goes on with the others and
    // ends only when none opened.
    bool opened = false;
    for (const QString& file : files) {
        opened = documents_->OpenDocumentFile(file) || opened;
    }
    OfferUnfinishedRecording();
    return opened;
}

void CEditorApp::OfferUnfinishedRecording()
{
    const std::string& journal = LiveSession::JournalPath();
    std::optional<RecordedTrack> track = journal.empty() ? std::nullopt : ReadJournal(journal);
    if (!track) {
        return;
    }
    const std::string question = "Eine Aufzeichnung wurde nicht beendet (" +
                                 std::to_string(track->points.size()) +
                                 " Trackpoints). In ein neues Dokument übernehmen?";
    if (Prompts::Current().Question(question)) {
        for (const auto& t : documents_->templates()) {
            if (t->resourceId() == IDR_GPSDATA) {
                if (auto* doc = dynamic_cast<CDataDoc*>(documents_->NewDocument(t.get()))) {
                    doc->InsertTrackpoints(0, static_cast<int32_t>(track->points.size()),
                                           track->points.data(), track->details.data());
                    doc->UpdateAllViews(nullptr);
                }
            }
        }
    }
    std::remove(journal.c_str());
}

void CEditorApp::EndOnRequest()
{
    QString platform = QGuiApplication::platformName();
    if (mainFrame_ &&
        (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))) {
        mainFrame_->SetAskToSave(false);
    }
    QCoreApplication::quit();
}

void CEditorApp::RegisterDocumentTypes()
{
    documents_->AddTemplate(std::make_unique<DocTemplate>(
        IDR_GPSDATA, kGpsDataStrings,
        [] {
            auto doc = std::make_unique<CDataDoc>();
            // Every GPS data document holds a connection to the receiver for its life. Its
            // opening is a task like a transfer, and can be cancelled like one; a live
            // position on the port waits meanwhile.
            LiveSession::PausedForTransfer paused;
            auto connection = std::make_unique<CGpsConnection>(ShowGpsProgress, DeferredOpen{});
            CGpsConnection* opening = connection.get();
            TaskRunner::Current().Run(
                [opening] {
                    opening->Open();
                    return 0;
                },
                [opening] { opening->Cancel(); });
            doc->gpsConnection = std::move(connection);
            return std::unique_ptr<Document>(std::move(doc));
        },
        [](QWidget* parent, Document*) -> CView* { return new CDataView(parent); },
        [](DocManager* manager, Document* document, DocTemplate* self) -> MdiChildFrame* {
            return new CDataFrame(manager, document, self);
        }));
    documents_->AddTemplate(std::make_unique<DocTemplate>(
        IDR_MAP, kMapStrings,
        [] { return std::unique_ptr<Document>(std::make_unique<CDrawDoc>()); },
        [](QWidget* parent, Document*) -> CView* { return new CDrawView(parent); },
        [](DocManager* manager, Document* document, DocTemplate* self) -> MdiChildFrame* {
            return new CSplitFrame(manager, document, self);
        }));
}

void CEditorApp::RegisterCommands()
{
    OnCommand(ID_FILE_NEW, [this] { documents_->FileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { documents_->FileOpen(); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] {
        QPrintDialog dialog(&printer(), mainFrame_.get());
        dialog.exec();
    });
    OnCommand(ID_APP_ABOUT, [this] {
        CAboutBox about(mainFrame_.get());
        about.exec();
    });
    OnCommand(ID_OPTIONS_FORMAT, [this] {
        MdiChildFrame* active = mainFrame_->ActiveChild();
        auto* data = active ? dynamic_cast<CDataDoc*>(active->document()) : nullptr;
        COptionsDlg options(mainFrame_.get(), data);
        if (options.exec() == QDialog::Accepted) {
            // Lists show the new number and date format at once.
            for (Document* document : documents_->Documents()) {
                document->UpdateAllViews(nullptr);
            }
        }
    });
}

QPrinter& CEditorApp::printer()
{
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

void CEditorApp::SetStatusPaneText(int paneId, const QString& text, bool)
{
    // The pane repaints at once: it is set on the user-interface thread, which keeps
    // running while a transfer goes on.
    if (mainFrame_) {
        mainFrame_->SetStatusPaneText(paneId, text);
    }
}

void ShowGpsProgress(const char* text)
{
    if (CEditorApp* app = CEditorApp::Instance()) {
        QString progress = QString::fromUtf8(text);
        app->SetStatusPaneText(ID_INDICATOR_MOUSEPOS, progress, true);
        app->taskRunner().Progress(progress);
    }
}
