// The pictures of the map window for the documentation: a map with selected objects and the
// help grid, the window split into four panes, the property sheets, the text input dialog,
// the calibration dialog and the print preview.

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QTimer>

#include "app/CCalibrateMapDlg.h"
#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CSplitFrame.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/CDrawText.h"
#include "draw/model/TextInput.h"
#include "draw/view/CDrawView.h"
#include "draw/view/CTextInputDlg.h"
#include "framework/Cp1252.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "res/CommandIds.h"

namespace {

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

bool Write(const QPixmap& picture, const QString& path)
{
    bool saved = picture.save(path);
    std::fprintf(stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

// Runs `open`, which shows a modal dialog, and saves that dialog as it first appears.
bool GrabModal(const std::function<void()>& open, const QString& path)
{
    bool saved = false;
    QTimer::singleShot(300, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            saved = Write(dialog->grab(), path);
            if (auto* d = qobject_cast<QDialog*>(dialog)) {
                d->reject();
            }
        }
    });
    open();
    return saved;
}

}  // namespace

bool MapScreenshots(const QString& folder, const QString& sampleMap)
{
    MemorySettings settings;
    CEditorApp app(&settings);
    if (!app.InitInstance({sampleMap}, true)) {
        return false;
    }
    CMainFrame& frame = *app.mainFrame();
    frame.resize(1180, 860);
    Settle();
    auto* window = qobject_cast<CSplitFrame*>(frame.ActiveChild());
    if (!window) {
        return false;
    }
    window->showMaximized();
    Settle();
    CDrawView* view = window->ActivePane();
    CDrawDoc* doc = view->GetDocument();
    view->Select(doc->ObjectList()[1], false);
    view->Select(doc->ObjectList()[6], true);
    frame.SetStatusPaneText(ID_INDICATOR_MOUSEPOS, QStringLiteral("x 212, y 96"));
    Settle();
    bool ok = Write(frame.grab(), folder + QStringLiteral("/screenshot-map.png"));

    // An embedded picture open in another program: hatched, with its handles.
    if (auto* picture = dynamic_cast<CDrawOleObj*>(doc->ObjectList()[8]);
        picture && picture->GetClientItem()) {
        CDrawItem::MarkOpenElsewhere(doc, picture->GetClientItem()->GetItemNumber(), true);
        view->Select(picture, false);
        Settle();
        CRect r = view->DocToView(picture->GetPosition());
        QRect around(QPoint(r.left - 40, r.top - 30), QPoint(r.right + 40, r.bottom + 30));
        ok = Write(view->viewport()->grab().copy(around),
                   folder + QStringLiteral("/screenshot-embedded-open.png")) &&
             ok;
        CDrawItem::MarkOpenElsewhere(doc, picture->GetClientItem()->GetItemNumber(), false);
        view->Select(nullptr, false);
    }
    ok = GrabModal([&] { frame.Execute(ID_FILE_SUMMARYINFO); },
                   folder + QStringLiteral("/screenshot-document-properties.png")) &&
         ok;

    // Four panes: the page's corners side by side.
    window->ToggleSplit();
    Settle();
    window->Pane(0, 1)->horizontalScrollBar()->setValue(400);
    window->Pane(1, 0)->verticalScrollBar()->setValue(400);
    window->Pane(1, 1)->SetZoom(50, QPoint(0, 0));
    Settle();
    ok = Write(frame.grab(), folder + QStringLiteral("/screenshot-map-split.png")) && ok;
    window->ToggleSplit();
    Settle();

    view = window->ActivePane();
    ok = GrabModal([&] { doc->ObjectList()[1]->EditProperties(); },
                   folder + QStringLiteral("/screenshot-shape-sheet.png")) &&
         ok;
    std::vector<CDrawText*> texts = VariableTexts(*doc);
    if (!texts.empty()) {
        ok = GrabModal([&] { texts.front()->EditProperties(); },
                       folder + QStringLiteral("/screenshot-text-sheet.png")) &&
             ok;
    }
    ok = GrabModal([&] { frame.Execute(ID_TEXT_INPUT); },
                   folder + QStringLiteral("/screenshot-text-input.png")) &&
         ok;

    // The calibration of the map, the sample's waypoints offered for the positions.
    CDataDoc sample;
    sample.OnOpenDocument(ORVI_SOURCE_DIR "/res/sample/sample.orvd");
    std::vector<WaypointChoice> choices;
    for (const WaypointRecord& w : sample.Waypoints()) {
        const GeoPosition position = ToGeoPosition(PositionOf(w));
        choices.push_back({QString::fromStdString(Cp1252ToUtf8(WaypointIdent(w))).trimmed() +
                               QStringLiteral("  (sample.orvd)"),
                           position.latitude, position.longitude});
    }
    CCalibrateMapDlg calibration(
        &frame,
        MapGeoReference::OfControlPoints(
            {{{40, 40, 47.4, 8.45}, {760, 40, 47.4, 8.7}, {40, 760, 47.25, 8.45}}}),
        PagePoint{212, 96}, choices, doc->GetPageSize());
    if (auto* list = calibration.findChild<QComboBox*>(QStringLiteral("waypoints"))) {
        list->setCurrentIndex(1);
    }
    calibration.show();
    Settle();
    ok = Write(calibration.grab(), folder + QStringLiteral("/screenshot-calibrate-dialog.png")) &&
         ok;
    calibration.close();

    // The preview of the page on A4: it fills the printable width.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, &frame);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, view,
                     [view](QPrinter* target) { view->PrintPage(*target, true); });
    preview.resize(760, 860);
    preview.show();
    Settle();
    ok = Write(preview.grab(), folder + QStringLiteral("/screenshot-print-preview.png")) && ok;
    preview.close();
    doc->SetModifiedFlag(false);
    return ok;
}
