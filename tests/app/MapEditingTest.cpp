// Editing maps beyond drawing, as a user does it: the clipboard between maps and programs,
// files dropped on the page, and undo.

#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPrintPreviewWidget>
#include <QUrl>

#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/model/MapTransfer.h"
#include "draw/view/MapClipboard.h"
#include "res/CommandIds.h"
#include "tests/app/MapWindowFixture.h"
#include "tests/draw/TestMaps.h"
#include "tests/edit/ModalDialogCloser.h"

namespace {

QByteArray Png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

class MapEditing : public MapWindow {
protected:
    void DrawThree()
    {
        Key(Qt::Key_R);
        Drag(view, {20, 20}, {80, 60});
        Key(Qt::Key_E);
        Drag(view, {100, 20}, {160, 60});
        Key(Qt::Key_L);
        Drag(view, {20, 100}, {160, 140});
        Key(Qt::Key_Escape);
    }
    std::vector<CRect> Positions(CDrawDoc& d)
    {
        std::vector<CRect> positions;
        for (CDrawObj* object : d.ObjectList()) {
            positions.push_back(object->GetPosition());
        }
        return positions;
    }
};

TEST_F(MapEditing, ThreeObjectsCopiedIntoAnotherMapLieOnTopAtTheirPlaces)
{
    DrawThree();
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    // They go over in the order they were selected.
    std::vector<CRect> drawn;
    for (CDrawObj* object : view->Selection()) {
        drawn.push_back(object->GetPosition());
    }
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    for (const QString& format : {MapClipboard::ObjectsMimeType(), QStringLiteral("image/png"),
                                  QStringLiteral("image/svg+xml")}) {
        EXPECT_TRUE(data->hasFormat(format)) << format.toStdString();
    }

    app->documents().NewDocument(app->documents().templates()[1].get());
    QApplication::processEvents();
    auto* other = qobject_cast<CSplitFrame*>(frame().ActiveChild());
    ASSERT_NE(other, nullptr);
    ASSERT_NE(other->document(), doc);
    CDrawView* otherView = other->ActivePane();
    otherView->setFocus();
    QTest::keyClick(otherView, Qt::Key_V, Qt::ControlModifier);
    CDrawDoc* target = otherView->GetDocument();
    EXPECT_EQ(Positions(*target), drawn);
    EXPECT_EQ(otherView->Selection().size(), 3u);
    QTest::keyClick(otherView, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(target->ObjectList().size(), 6u);
    std::vector<CDrawObj*> pasted = Objects(*target);
    EXPECT_EQ(WriteObjectsBlock({pasted.begin(), pasted.begin() + 3}),
              WriteObjectsBlock({pasted.begin() + 3, pasted.end()}));
    target->SetModifiedFlag(false);
}

TEST_F(MapEditing, APictureFromAnotherProgramBecomesAnEmbeddedObjectAtTheTopLeft)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), Png(96, 48));
    QGuiApplication::clipboard()->setMimeData(data);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(doc->ObjectList().size(), 1u);
    auto* object = dynamic_cast<CDrawOleObj*>(doc->ObjectList()[0]);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetClientItem()->GetMimeType(), "image/png");
    // 96 pixels are an inch: 254 hundredths of a millimetre per ten units.
    EXPECT_EQ(object->GetPosition(), (CRect{10, 10, 110, 60}));
    EXPECT_EQ(view->Selection(), std::vector<CDrawObj*>{object});
}

TEST_F(MapEditing, DamagedObjectsOrDataWithoutAPictureChangeNothing)
{
    DrawThree();
    view->Select(doc->ObjectList()[0], false);
    Key(Qt::Key_C, Qt::ControlModifier);
    QByteArray block =
        QGuiApplication::clipboard()->mimeData()->data(MapClipboard::ObjectsMimeType());
    auto* damaged = new QMimeData;
    damaged->setData(MapClipboard::ObjectsMimeType(), block.left(block.size() - 3));
    QGuiApplication::clipboard()->setMimeData(damaged);
    prompts.messages.clear();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(doc->ObjectList().size(), 3u);
    EXPECT_EQ(prompts.messages, std::vector<std::string>{"Unexpected file format."});
    EXPECT_EQ(view->Selection().size(), 1u) << "the selection stays";

    QGuiApplication::clipboard()->setText(QStringLiteral("nur Text"));
    QApplication::processEvents();
    EXPECT_FALSE(frame().Update(ID_EDIT_PASTE).enabled);
}

TEST_F(MapEditing, AFileDroppedOnThePageBecomesAnObjectWhereTheRectangleStood)
{
    QFile file(QString::fromStdString(dir.File("foto.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Png(48, 96));
    file.close();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file.fileName())});
    QWidget* target = view->viewport();
    QPoint at(200, 150);

    // Ctrl and Shift together refuse the drop.
    QDragEnterEvent refused(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(target, &refused);
    EXPECT_FALSE(refused.isAccepted());

    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::MoveAction);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction) << "the dropped file stays where it was";
    ASSERT_EQ(doc->ObjectList().size(), 1u);
    auto* object = dynamic_cast<CDrawOleObj*>(doc->ObjectList()[0]);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetClientItem()->GetName(), "foto.png");
    EXPECT_EQ(object->GetPosition(), (CRect{200, 150, 250, 250}));

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(doc->ObjectList().empty()) << "the drop is one undo step";
}

TEST_F(MapEditing, EachGestureAndCommandIsOneUndoStepBackToTheSavedMap)
{
    DrawThree();
    Key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_FALSE(doc->IsModified());
    std::vector<CRect> saved = Positions(*doc);

    Drag(view, {50, 40}, {70, 70});  // moves the rectangle
    EXPECT_NE(Positions(*doc), saved);
    Key(Qt::Key_Delete);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Plus);  // two selected: nothing moves, and no step
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(doc->ObjectList().size(), 4u);

    Key(Qt::Key_Z, Qt::ControlModifier);  // the paste
    EXPECT_EQ(doc->ObjectList().size(), 2u);
    Key(Qt::Key_Z, Qt::ControlModifier);  // the delete
    EXPECT_EQ(doc->ObjectList().size(), 3u);
    EXPECT_TRUE(doc->IsModified());
    Key(Qt::Key_Z, Qt::ControlModifier);  // the move
    EXPECT_EQ(Positions(*doc), saved);
    EXPECT_FALSE(doc->IsModified()) << "back at the saved map";
    EXPECT_TRUE(view->Selection().empty()) << "undo made new objects";
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_NE(Positions(*doc), saved);
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(MapEditing, ThePrintPreviewShowsThePageAndNothingOfAPictureBeyondIt)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), Png(3000, 2000));
    QGuiApplication::clipboard()->setMimeData(data);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(doc->ObjectList().size(), 1u);
    QImage preview;
    {
        ModalDialogCloser closer([&](QDialog& dialog) {
            if (auto* pages = dialog.findChild<QPrintPreviewWidget*>()) {
                preview = pages->grab().toImage();
            }
        });
        EXPECT_TRUE(frame().Execute(ID_FILE_PRINT_PREVIEW));
    }
    ASSERT_FALSE(preview.isNull());
    // The picture (green, washed out over the paper's margins) covers the square page alone.
    QRect green;
    for (int y = 0; y < preview.height(); ++y) {
        for (int x = 0; x < preview.width(); ++x) {
            QColor c = preview.pixelColor(x, y);
            if (c.green() > c.red() + 20 && c.green() > c.blue() + 20) {
                green |= QRect(x, y, 1, 1);
            }
        }
    }
    ASSERT_FALSE(green.isEmpty());
    EXPECT_NEAR(green.width(), green.height(), 2);
}

}  // namespace
