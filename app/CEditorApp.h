#pragma once

#include <QObject>
#include <QStringList>
#include <QTranslator>
#include <memory>

#include "draw/view/QtDrawObjEditor.h"
#include "framework/CommandTarget.h"
#include "framework/DocManager.h"
#include "framework/QtPrompts.h"
#include "framework/QtSettings.h"
#include "framework/QtTaskRunner.h"

class CMainFrame;
class QPrinter;

// The application: settings, display format, document types, main window, command line.
// One instance; the application-wide commands (New, Open, printer set-up, options, About)
// end up here.
class CEditorApp : public QObject, public CommandTarget {
    Q_OBJECT

public:
    // `settings` and `prompts` replace the user's settings file and message boxes (tests).
    explicit CEditorApp(Settings* settings = nullptr, Prompts* prompts = nullptr);
    ~CEditorApp() override;

    static CEditorApp* Instance() { return instance_; }

    // Start-up: settings store, display format, document types, main window, command
    // line (files to open; none makes a new document of the type the user picks, through
    // documents().chooseType). False ends the program: when no document could be made, or
    // none of the files opened (each that did not has said why).
    bool InitInstance(const QStringList& files, bool show = true);

    // Ends the program as asked from outside (SIGTERM, SIGINT), as a quit does: a running
    // task ends first (QtTaskRunner). Unsaved documents are asked about only where a display
    // shows the question; without one (offscreen) they close unsaved.
    void EndOnRequest();

    CMainFrame* mainFrame() const { return mainFrame_.get(); }
    DocManager& documents() { return *documents_; }
    QtTaskRunner& taskRunner() { return runner_; }
    QPrinter& printer();

    // Sets a status-bar pane's text; from any thread. The text stays until something
    // else writes the pane.
    void SetStatusPaneText(int paneId, const QString& text, bool repaintNow);

private:
    // A recording that a crash or a pulled plug ended leaves its journal: its points are
    // offered as a new document, and the journal goes either way.
    void OfferUnfinishedRecording();
    void RegisterDocumentTypes();
    void RegisterCommands();

    static CEditorApp* instance_;
    // Qt's own texts (standard buttons, file, colour, font and print dialogs) in German.
    QTranslator qtTexts_;
    QtSettings qtSettings_;
    QtPrompts qtPrompts_;
    Settings* previousSettings_ = nullptr;
    Prompts* previousPrompts_ = nullptr;
    TaskRunner* previousRunner_ = nullptr;
    QtTaskRunner runner_;
    QtDrawObjEditor drawEditor_;
    std::unique_ptr<DocManager> documents_;
    std::unique_ptr<CMainFrame> mainFrame_;
    std::unique_ptr<QPrinter> printer_;
};

// The progress callback of GPS transfers: the text goes to the status pane
// ID_INDICATOR_MOUSEPOS and to the running progress dialog. From any thread.
void ShowGpsProgress(const char* text);
