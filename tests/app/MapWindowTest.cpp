// The map window as a user meets it: keys, clicks and drags on the view.

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <functional>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CSplitFrame.h"
#include "app/CommandTables.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawPoly.h"
#include "draw/model/CDrawRect.h"
#include "draw/model/CDrawText.h"
#include "draw/model/CSummaryInfo.h"
#include "draw/model/TextInput.h"
#include "draw/paint/MapRender.h"
#include "draw/view/CDrawView.h"
#include "framework/CommandActions.h"
#include "link/SharedPort.h"
#include "res/CommandIds.h"
#include "tests/RecordingPrompts.h"
#include "tests/TempDir.h"
#include "tests/app/MapWindowFixture.h"
#include "tests/draw/TestMaps.h"
#include "tests/edit/ModalDialogCloser.h"

namespace {

// What the screen shows of `on` once the pending repaints are done: the pixels its paintings
// left, not a fresh painting as grab() makes.
QImage Shown(CDrawView* on)
{
    QApplication::processEvents();
    QWidget* top = on->window();
    QPoint at = on->viewport()->mapTo(top, QPoint(0, 0));
    QSize size = on->viewport()->size();
    return top->screen()
        ->grabWindow(top->winId(), at.x(), at.y(), size.width(), size.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage Fresh(CDrawView* on)
{
    return on->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The 800 x 800 page as `paint` paints it in document units.
QImage Page(const std::function<void(QPainter&)>& paint)
{
    QImage image(800, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paint(painter);
    return image;
}

TEST_F(MapWindow, DrawsARectangleWithKeysAndTheMouseAndSavesIt)
{
    EXPECT_EQ(frame().MenuResource(), IDR_MAP);
    Key(Qt::Key_R);
    EXPECT_EQ(window->Tools().Current(), ToolKind::rectangle);
    Drag(view, {50, 40}, {150, 90});
    EXPECT_EQ(window->Tools().Current(), ToolKind::rectangle) << "a drag leaves the tool current";
    Key(Qt::Key_S, Qt::ControlModifier);
    auto saved = Saved();
    ASSERT_EQ(saved->ObjectList().size(), 1u);
    auto* rect = dynamic_cast<CDrawRect*>(saved->ObjectList()[0]);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->GetShape(), CDrawRect::rectangle);
    EXPECT_EQ(rect->GetPosition(), (CRect{50, 40, 150, 90}));

    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(Saved()->ObjectList().empty());
}

TEST_F(MapWindow, FourPolygonClicksOnTheFirstPointCloseItWithThreeVertices)
{
    // The tool from its tool-bar button.
    QToolBar* bar = frame().toolBar();
    QTest::mouseClick(bar->widgetForAction(frame().Action(ID_DRAW_POLYGON)), Qt::LeftButton);
    EXPECT_EQ(window->Tools().Current(), ToolKind::polygon);
    QPoint p1(100, 100), p2(200, 120), p3(150, 200);
    for (QPoint p : {p1, p2, p3, p1}) {
        QTest::mouseMove(view->viewport(), p);  // drags the vertex that follows the mouse
        Click(p);
        QTest::qWait(QApplication::doubleClickInterval() + 20);  // single clicks
    }
    ASSERT_EQ(doc->ObjectList().size(), 1u);
    auto* polygon = dynamic_cast<CDrawPoly*>(doc->ObjectList()[0]);
    ASSERT_NE(polygon, nullptr);
    ASSERT_EQ(polygon->HandleCount(), 3);
    EXPECT_EQ(polygon->HandlePoint(1), (CPoint{100, 100}));
    EXPECT_EQ(polygon->HandlePoint(3), (CPoint{150, 200}));
    EXPECT_EQ(window->Tools().Current(), ToolKind::selection);
}

TEST_F(MapWindow, TheMousePositionShowsInDocumentUnitsOnlyForTheActivePane)
{
    view->horizontalScrollBar()->setValue(0);
    QTest::mouseMove(view->viewport(), QPoint(120, 45));
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "x 120, y 45");
    view->SetZoom(200, QPoint(0, 0));
    QTest::mouseMove(view->viewport(), QPoint(240, 90));
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "x 120, y 45");

    window->ToggleSplit();
    ASSERT_EQ(window->Views().size(), 4u);
    CDrawView* other = window->Pane(1, 1);
    ASSERT_NE(other, view);
    ASSERT_FALSE(other->IsActiveView());
    QTest::mouseMove(other->viewport(), QPoint(5, 5));
    EXPECT_EQ(frame().StatusPaneText(ID_INDICATOR_MOUSEPOS), "x 120, y 45");
}

TEST_F(MapWindow, DeletingInOnePaneLeavesNoSelectionBehindInAnother)
{
    Key(Qt::Key_E);
    Drag(view, {20, 20}, {80, 60});
    window->ToggleSplit();
    CDrawView* other = window->Pane(0, 1);
    other->Select(doc->ObjectList()[0], false);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(doc->ObjectList().empty());
    EXPECT_TRUE(other->Selection().empty());
}

TEST_F(MapWindow, TheContextMenuComesOnlyOverAnObjectAndSelectsItAlone)
{
    Key(Qt::Key_R);
    Drag(view, {20, 20}, {80, 60});
    Key(Qt::Key_R);
    Drag(view, {120, 20}, {180, 60});
    Key(Qt::Key_Escape);
    CDrawObj* first = doc->ObjectList()[0];
    QStringList shown;
    auto rightClick = [&](QPoint at) {
        shown.clear();
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions()) {
                    shown << a->text() + (a->isEnabled() ? "" : " (off)");
                }
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
    };
    rightClick({300, 300});
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(view->Selection().size(), 1u) << "the selection stays";
    rightClick({50, 40});
    EXPECT_EQ(view->Selection(), std::vector<CDrawObj*>{first});
    EXPECT_EQ(shown, (QStringList{"Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Delete\tDel",
                                  "Proper&ties...\tAlt+Enter"}));
}

TEST_F(MapWindow, ZOrderKeysMoveTheOneSelectedObject)
{
    Key(Qt::Key_R);
    Drag(view, {20, 20}, {80, 60});
    Key(Qt::Key_R);
    Drag(view, {40, 40}, {100, 80});
    Key(Qt::Key_Escape);
    CDrawObj* first = doc->ObjectList()[0];
    doc->SetModifiedFlag(false);
    view->Select(first, false);
    Key(Qt::Key_Plus);
    EXPECT_EQ(doc->ObjectList().back(), first) << "to front";
    Key(Qt::Key_Minus);
    EXPECT_EQ(doc->ObjectList().front(), first) << "one step back";
    EXPECT_TRUE(doc->IsModified()) << "a new order is a change to save";
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Plus);
    EXPECT_EQ(doc->ObjectList().front(), first) << "two selected: nothing moves";
}

TEST_F(MapWindow, AltEnterAndADoubleClickOpenThePropertiesOfTheOneSelectedObject)
{
    Key(Qt::Key_E);
    Drag(view, {20, 20}, {120, 80});
    Key(Qt::Key_Escape);
    QStringList captions;
    {
        ModalDialogCloser closer([&](QDialog& dialog) { captions << dialog.windowTitle(); });
        Key(Qt::Key_Return, Qt::AltModifier);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(70, 50));
        QTest::qWait(50);
    }
    EXPECT_EQ(captions, (QStringList{"Formeigenschaften", "Formeigenschaften"}));
}

TEST_F(MapWindow, APaneDraggedSmallerThanTenPixelsGoes)
{
    window->resize(600, 500);
    QApplication::processEvents();
    window->SplitRows(100);
    ASSERT_EQ(window->Rows(), 2);
    auto* rows = window->findChild<QSplitter*>();
    ASSERT_EQ(rows->orientation(), Qt::Vertical);
    QSplitterHandle* handle = rows->handle(1);
    QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip - QPoint(0, 60));
    QTest::mouseMove(handle, grip - QPoint(0, 95));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip - QPoint(0, 95));
    QApplication::processEvents();
    EXPECT_EQ(window->Rows(), 1);
    EXPECT_EQ(window->Views().size(), 1u);
    EXPECT_EQ(doc->GetViews().size(), 1u) << "the pane that went left the document";
}

TEST_F(MapWindow, ColourCommandsColourEachSelectedObject)
{
    Key(Qt::Key_R);
    Drag(view, {20, 20}, {80, 60});
    Key(Qt::Key_E);
    Drag(view, {120, 20}, {180, 60});
    Key(Qt::Key_A, Qt::ControlModifier);
    view->chooseColour = [](QColor& colour) {
        colour = QColor(10, 20, 30);
        return true;
    };
    doc->SetModifiedFlag(false);
    EXPECT_TRUE(frame().Execute(ID_OBJECT_FILLCOLOR));
    for (CDrawObj* object : doc->ObjectList()) {
        EXPECT_EQ(object->GetBrush().colour, RGB(10, 20, 30));
    }
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(MapWindow, TextInputFillsAndWritesBackTheLowestSixTexts)
{
    std::vector<CDrawText*> texts;
    for (int i = 0; i < 8; ++i) {
        auto* text = AddNew<CDrawText>(*doc, CRect{10, 10 + 30 * i, 200, 35 + 30 * i});
        text->SetText("alt " + std::to_string(i));
        texts.push_back(text);
    }
    QStringList shown;
    {
        ModalDialogCloser closer([&](QDialog& dialog) {
            for (QLineEdit* field : dialog.findChildren<QLineEdit*>()) {
                shown << field->text();
                field->setText(QStringLiteral("neu"));
            }
            dialog.accept();
        });
        frame().Execute(ID_TEXT_INPUT);
    }
    EXPECT_EQ(shown, (QStringList{"alt 0", "alt 1", "alt 2", "alt 3", "alt 4", "alt 5"}));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(texts[i]->GetText(), i < 6 ? "neu" : "alt " + std::to_string(i)) << i;
    }
}

TEST_F(MapWindow, TextInputKeepsLongTextsWholeAndLeavesUntouchedOnesAsTheyWere)
{
    std::string text;
    for (int line = 0; text.size() < 40000; ++line) {
        text += "Zeile " + std::to_string(line) + (line % 2 ? "\n" : "\r");
    }
    text.resize(40000);
    auto* object = AddNew<CDrawText>(*doc, CRect{10, 10, 200, 100});
    object->SetText(text);
    Key(Qt::Key_S, Qt::ControlModifier);
    // OK, after `type` in the first field.
    auto textInput = [&](const std::function<void(QLineEdit*)>& type) {
        ModalDialogCloser closer([&](QDialog& dialog) {
            type(Child<QLineEdit>(dialog, "edit126"));
            QTest::mouseClick(Child<QPushButton>(dialog, "button1"), Qt::LeftButton);
        });
        frame().Execute(ID_TEXT_INPUT);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    };
    textInput([](QLineEdit*) {});
    EXPECT_EQ(object->GetText(), text) << "byte for byte";
    EXPECT_FALSE(doc->IsModified()) << "no step changed the map";

    textInput([](QLineEdit* field) {
        QTest::keyClick(field, Qt::Key_End);
        QTest::keyClicks(field, "!");
    });
    Key(Qt::Key_S, Qt::ControlModifier);
    std::unique_ptr<CDrawDoc> file = Saved();
    auto* saved = dynamic_cast<CDrawText*>(ObjectAt(*file, 0));
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->GetText(), RecordTextFromLineField(LineFieldText(text)) + "!");
}

TEST_F(MapWindow, TheTitleNamesTheOpenedFileOnceAlsoWhileItsWindowIsMaximized)
{
    auto shown = [&] {
        QApplication::processEvents();
        return frame().windowHandle()->title().toStdString();
    };
    EXPECT_EQ(shown(), "OrviEdit GPS data Editor - map.orvg");
    QPoint titleBar(window->width() / 2, 12);
    QTest::mouseMove(window, titleBar);
    QTest::mouseDClick(window, Qt::LeftButton, {}, titleBar);
    ASSERT_TRUE(window->isMaximized());
    EXPECT_EQ(shown(), "OrviEdit GPS data Editor - [map.orvg]");
    window->showNormal();
    EXPECT_EQ(shown(), "OrviEdit GPS data Editor - map.orvg");
}

TEST_F(MapWindow, ConnectInAMapWindowOnlyOpensThePort)
{
    prompts.messages.clear();
    EXPECT_TRUE(frame().Execute(ID_GPS_CONNECT));
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Error No 2 while opening Port COM1:"});
}

TEST_F(MapWindow, ToolKeysBelongToMapWindowsOnly)
{
    Key(Qt::Key_L);
    EXPECT_EQ(window->Tools().Current(), ToolKind::line);
    Key(Qt::Key_Escape);
    EXPECT_EQ(window->Tools().Current(), ToolKind::selection);
    app->documents().NewDocument(app->documents().templates()[0].get());
    QApplication::processEvents();
    ASSERT_EQ(frame().MenuResource(), IDR_GPSDATA);
    QTest::keyClick(frame().ActiveChild()->widget(), Qt::Key_R);
    EXPECT_EQ(window->Tools().Current(), ToolKind::selection);
    EXPECT_EQ(frame().Action(ID_DRAW_RECT)->shortcuts().size(), 0);
}

TEST_F(MapWindow, HandlesStaySevenPixelsWideAtEveryZoom)
{
    Key(Qt::Key_R);
    Drag(view, {20, 30}, {180, 130});
    view->SetGridShown(false);
    for (int zoom : {100, 400, 25}) {
        view->SetZoom(zoom, QPoint(0, 0));
        QImage image = view->viewport()->grab().toImage();
        CPoint corner = view->DocToView(CPoint{20, 30});
        int y = corner.y;
        int width = 0;
        for (int x = corner.x - 6; x <= corner.x + 6; ++x) {
            width += image.pixelColor(x, y - 2) == Qt::black;  // above the outline
        }
        EXPECT_EQ(width, 7) << zoom;
    }
}

TEST_F(MapWindow, PrintingToAFileStampsThePrintDateButThePreviewDoesNot)
{
    Key(Qt::Key_R);
    Drag(view, {20, 30}, {180, 130});
    CSummaryInfo* summary = doc->GetSummaryInfo();
    ASSERT_NE(summary, nullptr);
    std::string before = summary->GetLastPrinted();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir.File("map.pdf")));
    view->PrintPage(printer, true);
    EXPECT_EQ(summary->GetLastPrinted(), before) << "a preview";
    view->PrintPage(printer, false);
    EXPECT_NE(summary->GetLastPrinted(), before);
    std::vector<uint8_t> pdf = ReadBytes(dir.File("map.pdf"));
    ASSERT_GT(pdf.size(), 500u);
    EXPECT_EQ(std::string(pdf.begin(), pdf.begin() + 4), "%PDF");
}

TEST_F(MapWindow, PrinterPixelsAndTheGridChangeHowThePageIsPaintedNotWhat)
{
    Key(Qt::Key_N);
    Drag(view, {30, 30}, {130, 90});
    view->Select(nullptr, false);
    view->resize(300, 300);
    CDrawView::SetOffscreenDrawing(true);
    QImage through = view->viewport()->grab().toImage();
    CDrawView::SetOffscreenDrawing(false);
    QImage direct = view->viewport()->grab().toImage();
    CDrawView::SetOffscreenDrawing(true);
    EXPECT_EQ(through, direct);

    // The grid lies on top: a dotted line at x = 100 shows in the window, never printed.
    QImage printed(400, 400, QImage::Format_RGB32);
    {
        QPainter painter(&printed);
        view->PaintPage(painter, CRect{0, 0, 400, 400}, true);
    }
    QColor grid(0, 0, 128);
    int onScreen = 0, onPaper = 0;
    for (int y = 150; y < 250; ++y) {
        onScreen += direct.pixelColor(100, y) == grid;
        onPaper += printed.pixelColor(100, y) == grid;
    }
    EXPECT_GT(onScreen, 10);
    EXPECT_EQ(onPaper, 0);
}

TEST_F(MapWindow, TheHelpGridCoversTheWholePageWithItsCentreLinesThroughTheMiddle)
{
    frame().resize(1200, 1100);
    window->resize(1000, 1000);
    QApplication::processEvents();
    ASSERT_GE(view->viewport()->width(), 801);
    ASSERT_GE(view->viewport()->height(), 801);
    const QImage page = Fresh(view);
    const QColor grid(0, 0, 128);
    for (int at = 0; at <= 800; at += 100) {
        int column = 0, row = 0;
        for (int along = 0; along < 800; ++along) {
            column += page.pixelColor(at, along) == grid;
            row += page.pixelColor(along, at) == grid;
        }
        // Dotted lines show a third of their pixels, the dashed centre lines more, the edges all.
        EXPECT_GE(column, 250) << "x = " << at;
        EXPECT_GE(row, 250) << "y = " << at;
        EXPECT_EQ(column > 700, at % 800 == 0) << "x = " << at;
    }
}

TEST_F(MapWindow, AnOutlineFromThePropertyPagePaintsTheSameEverywhereAndAtEveryZoom)
{
    // The weight typed on the page of the object clicked at `at` (client point), then OK.
    auto setWeight = [&](QPoint at, const char* weight) {
        Click(at);
        {
            ModalDialogCloser closer([&](QDialog& sheet) {
                auto* edit = Child<QLineEdit>(sheet, "edit102");
                edit->selectAll();
                QTest::keyClicks(edit, QString::fromLatin1(weight));
                QTest::mouseClick(Child<QPushButton>(sheet, "button1"), Qt::LeftButton);
            });
            Key(Qt::Key_Return, Qt::AltModifier);
            QTest::qWait(50);
        }
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    };
    frame().resize(1400, 1000);
    window->resize(1000, 700);
    Key(Qt::Key_G);  // no grid
    Key(Qt::Key_R);
    Drag(view, {79, 149}, {249, 249});
    Key(Qt::Key_N);
    Drag(view, {270, 149}, {370, 249});
    QToolBar* bar = frame().toolBar();
    QTest::mouseClick(bar->widgetForAction(frame().Action(ID_DRAW_POLYGON)), Qt::LeftButton);
    QPoint tip(470, 200);  // a sharp corner
    for (QPoint p : {QPoint(390, 150), tip, QPoint(390, 160), QPoint(390, 150)}) {
        QTest::mouseMove(view->viewport(), p);
        Click(p);
        QTest::qWait(QApplication::doubleClickInterval() + 20);
    }
    ASSERT_EQ(doc->ObjectList().size(), 3u);

    setWeight({150, 200}, "100");
    // A click on the paper leaves nothing selected; what the window shows then of the
    // rectangle and the rounded one beside it:
    Click({600, 50});
    const QRect beside(0, 120, 380, 160);
    QImage afterOk = Shown(view).copy(beside);

    // At 800 % the polygon's outline and its sharp corner repaint all they cover.
    view->SetZoom(800, tip);
    auto client = [&](int x, int y) {
        CPoint p = view->DocToView(CPoint{x, y});
        return QPoint(p.x + 4, p.y + 4);
    };
    setWeight(client(440, 183), "20");
    Click(client(440, 225));
    EXPECT_TRUE(Shown(view) == Fresh(view)) << "800 %";

    view->SetZoom(100);
    view->horizontalScrollBar()->setValue(0);
    view->verticalScrollBar()->setValue(0);
    window->ToggleSplit();
    window->Pane(0, 1)->SetGridShown(false);
    Key(Qt::Key_S, Qt::ControlModifier);
    QImage rendered = Page([&](QPainter& p) { PaintMapPage(*Saved(), p); });
    QImage printed = Page([&](QPainter& p) { view->PaintPage(p, CRect{0, 0, 800, 800}, true); });
    EXPECT_TRUE(afterOk == rendered.copy(beside)) << "right after OK and from the saved file";
    EXPECT_TRUE(Fresh(window->Pane(0, 1)).copy(beside) == rendered.copy(beside)) << "another pane";
    EXPECT_TRUE(printed == rendered) << "printed";
    QImage filled(210, 140, QImage::Format_RGB32);
    filled.fill(Qt::white);
    QPainter(&filled).fillRect(20, 20, 170, 100, Qt::black);
    EXPECT_TRUE(rendered.copy(59, 129, 210, 140) == filled) << "the pen fills the rectangle alone";
}

}  // namespace
