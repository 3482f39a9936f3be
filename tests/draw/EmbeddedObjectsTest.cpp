#include <filesystem>
#include <memory>

#include <gtest/gtest.h>
#include <QBuffer>
#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/paint/ItemPictures.h"
#include "draw/view/InsertObject.h"
#include "draw/view/ItemOpener.h"
#include "draw/view/QtDrawObjEditor.h"
#include "tests/RecordingPrompts.h"
#include "tests/TempDir.h"
#include "tests/draw/DrawTestSupport.h"
#include "tests/draw/TestMaps.h"
#include "tests/edit/ModalDialogCloser.h"

// Embedded objects handed to another program and taken back, their properties and the
// command that inserts them. The desktop's "open" is recorded instead of run; the test plays
// the other program by writing the files it was given.

namespace {

constexpr int kWaitMs = 3000;

std::vector<uint8_t> Png(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {png.begin(), png.end()};
}

// As many programs save: a new file renamed over the old one.
void Replace(const QString& file, const std::vector<uint8_t>& bytes)
{
    std::string path = file.toStdString();
    WriteBytes(path + ".new", bytes);
    std::filesystem::rename(path + ".new", path);
}

QRgb CentreOf(const CDrawItem& item)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintItem(painter, item, QRectF(0, 0, 20, 20));
    painter.end();
    return image.pixel(10, 10);
}

class EmbeddedObjects : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousPrompts = Prompts::SetCurrent(&prompts);
        previousEditor = DrawObjEditor::Installed();
        DrawObjEditor::Install(&editor);
        previousOpenUrl = ItemOpener::openUrl;
        ItemOpener::openUrl = [this](const QUrl& url) {
            opened.push_back(url.toLocalFile());
            return true;
        };
        doc->OnNewDocument();
    }
    void TearDown() override
    {
        doc.reset();
        InsertObjectHooks() = {};
        ItemOpener::openUrl = previousOpenUrl;
        DrawObjEditor::Install(previousEditor);
        Prompts::SetCurrent(previousPrompts);
    }

    CDrawOleObj* Add(std::unique_ptr<CDrawItem> item)
    {
        auto* object = AddNew<CDrawOleObj>(*doc, CRect{10, 10, 10, 10});
        CDrawItem* added = doc->AddItem(std::move(item));
        added->SetDrawObj(object);
        object->SetClientItem(added);
        added->SyncExtent();
        doc->SetModifiedFlag(false);
        return object;
    }
    CDrawOleObj* AddEmbeddedPng(const std::vector<uint8_t>& bytes)
    {
        auto item = std::make_unique<CDrawItem>();
        item->SetEmbeddedFile("karte.png", "image/png", bytes, NaturalExtent("image/png", bytes));
        return Add(std::move(item));
    }
    CDrawOleObj* AddLinked(const std::string& path)
    {
        auto item = std::make_unique<CDrawItem>();
        std::string error;
        EXPECT_TRUE(LoadItemFromFile(*item, path, OT_LINK, error)) << error;
        return Add(std::move(item));
    }
    // Undo replaces the objects: the first object and its item as they are now.
    CDrawOleObj& Object() { return *dynamic_cast<CDrawOleObj*>(ObjectAt(*doc, 0)); }
    CDrawItem& Item() { return *Object().GetClientItem(); }

    // The tracker style the object's Draw paints with; -1 for none.
    int Tracker(CDrawObj& object, bool printing = false)
    {
        RecordingPainter dc(printing);
        object.Draw(dc);
        const std::string& last = dc.calls.back();
        return last.rfind("DrawTracker", 0) == 0 ? std::stoi(last.substr(last.rfind(' '))) : -1;
    }

    // Runs the object's properties; `click` names a button to press first. The line "state".
    QString Properties(const char* click = nullptr)
    {
        QString state;
        ModalDialogCloser closer([&](QDialog& sheet) {
            EXPECT_EQ(sheet.windowTitle(), "Objekt-Eigenschaften");
            if (click) {
                QTest::mouseClick(sheet.findChild<QPushButton*>(click), Qt::LeftButton);
            }
            state = sheet.findChild<QLabel*>("state")->text();
        });
        Object().EditProperties();
        EXPECT_EQ(closer.seen(), 1);
        return state;
    }

    TempDir dir;
    RecordingPrompts prompts;
    Prompts* previousPrompts = nullptr;
    DrawObjEditor* previousEditor = nullptr;
    std::function<bool(const QUrl&)> previousOpenUrl;
    std::vector<QString> opened;
    QtDrawObjEditor editor;
    std::unique_ptr<CDrawDoc> doc = std::make_unique<CDrawDoc>();
};

TEST_F(EmbeddedObjects, PictureSavedByTheOtherProgramComesBackAsOneUndoStep)
{
    std::vector<uint8_t> small = Png(40, 30, Qt::red);
    AddEmbeddedPng(small);
    CRect before = Object().GetPosition();
    Object().OpenInView(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(QFileInfo(opened[0]).fileName(), "karte.png");
    EXPECT_EQ(ReadBytes(opened[0].toStdString()), small);
    EXPECT_EQ(Item().GetItemState(), ItemState::open);
    QStringList watched = editor.Opener().WatchedPaths();

    Object().OpenInView(nullptr);  // again: the same file, no second watch
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_EQ(editor.Opener().WatchedPaths(), watched);

    std::vector<uint8_t> large = Png(80, 60, Qt::blue);
    Replace(opened[0], large);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Item().GetData() == large; }, kWaitMs));
    EXPECT_EQ(Item().GetName(), "karte.png");
    EXPECT_EQ(Object().GetPosition().Width(), 2 * before.Width());
    EXPECT_EQ(Object().GetPosition().Height(), 2 * before.Height());
    EXPECT_TRUE(doc->IsModified());

    doc->Undo();
    EXPECT_EQ(Item().GetData(), small);
    EXPECT_EQ(Object().GetPosition(), before);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(Item().GetItemState(), ItemState::open);  // still watched
    EXPECT_EQ(Tracker(Object()), TRACKER_SOLID_LINE | TRACKER_HATCH_INSIDE);
}

TEST_F(EmbeddedObjects, FramesAreSolidOrDottedAndHatchedWhileOpenButNotPrinted)
{
    std::string path = dir.File("pin.png");
    WriteBytes(path, Png(40, 30, Qt::red));
    CDrawOleObj* embedded = AddEmbeddedPng(Png(40, 30, Qt::red));
    CDrawOleObj* linked = AddLinked(path);
    EXPECT_EQ(Tracker(*embedded), TRACKER_SOLID_LINE);
    EXPECT_EQ(Tracker(*linked), TRACKER_DOTTED_LINE);
    linked->OpenInView(nullptr);
    EXPECT_EQ(Tracker(*linked), TRACKER_DOTTED_LINE | TRACKER_HATCH_INSIDE);
    EXPECT_EQ(Tracker(*linked, true), -1);
    CDrawOleObj::SetShowItemFrames(false);
    EXPECT_EQ(Tracker(*embedded), -1);
    EXPECT_EQ(Tracker(*linked), TRACKER_HATCH_INSIDE);
    CDrawOleObj::SetShowItemFrames(true);
}

TEST_F(EmbeddedObjects, FileCutShortIsNotTakenAndPropertiesSaySoUntilItIsWhole)
{
    std::vector<uint8_t> small = Png(40, 30, Qt::red);
    AddEmbeddedPng(small);
    Object().OpenInView(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    QString state = Properties();
    EXPECT_TRUE(state.endsWith("Noch nicht zurückgeschrieben.")) << state.toStdString();

    std::vector<uint8_t> large = Png(80, 60, Qt::blue);
    std::vector<uint8_t> half(large.begin(), large.begin() + large.size() / 2);
    WriteBytes(opened[0].toStdString(), half);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !editor.Opener().StatusOf(doc.get(), Item().GetItemNumber()).problem.isEmpty();
        },
        kWaitMs));
    EXPECT_EQ(Item().GetData(), small);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(Properties().contains("nicht übernommen"));

    WriteBytes(opened[0].toStdString(), large);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Item().GetData() == large; }, kWaitMs));
}

TEST_F(EmbeddedObjects, LinkFollowsItsFileAndKeepsTheLastPictureWhenTheFileVanishes)
{
    std::string path = dir.File("pin.png");
    WriteBytes(path, Png(40, 30, Qt::red));
    AddLinked(path);
    EXPECT_EQ(CentreOf(Item()), QColor(Qt::red).rgb());
    Object().OpenInView(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QString::fromStdString(path));

    std::vector<uint8_t> blue = Png(80, 60, Qt::blue);
    Replace(opened[0], blue);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Item().GetData() == blue; }, kWaitMs));
    EXPECT_TRUE(Item().IsLinked());
    EXPECT_EQ(CentreOf(Item()), QColor(Qt::blue).rgb());
    EXPECT_TRUE(doc->IsModified());

    std::filesystem::remove(path);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !editor.Opener().StatusOf(doc.get(), Item().GetItemNumber()).problem.isEmpty();
        },
        kWaitMs));
    EXPECT_EQ(CentreOf(Item()), QColor(Qt::blue).rgb());
    EXPECT_EQ(Properties(), "Die verknüpfte Datei fehlt; gezeigt wird der letzte gelesene Stand.");
}

TEST_F(EmbeddedObjects, LinkIsTakenIntoTheMapAsOneUndoStepAndStaysLinkedWhenItsFileIsGone)
{
    std::string path = dir.File("pin.png");
    std::vector<uint8_t> bytes = Png(40, 30, Qt::red);
    WriteBytes(path, bytes);
    AddLinked(path);
    std::filesystem::remove(path);
    Properties("embed");
    EXPECT_TRUE(Item().IsLinked());
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_FALSE(doc->IsModified());

    WriteBytes(path, bytes);
    EXPECT_EQ(Properties("embed"), "In der Karte gespeichert.");
    EXPECT_EQ(Item().GetType(), OT_EMBEDDED);
    EXPECT_EQ(Item().GetData(), bytes);
    EXPECT_EQ(Item().GetName(), "pin.png");
    EXPECT_TRUE(doc->IsModified());
    doc->Undo();
    EXPECT_TRUE(Item().IsLinked());
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(EmbeddedObjects, InsertFromFileEmbedsACopyOrLinksThroughTheDialog)
{
    std::string path = dir.File("plan.png");
    std::vector<uint8_t> bytes = Png(100, 50, Qt::green);
    WriteBytes(path, bytes);
    InsertObjectHooks().choose = [&](InsertObjectChoice& choice, QWidget*) {
        choice.fromFile = true;
        choice.path = path;
        return true;
    };
    ASSERT_TRUE(InsertNewObject(*doc, {30, 40, 30, 40}, nullptr));
    EXPECT_EQ(Item().GetType(), OT_EMBEDDED);
    EXPECT_EQ(Item().GetData(), bytes);
    EXPECT_EQ(Object().GetPosition().TopLeft(), (CPoint{30, 40}));
    EXPECT_EQ(Object().GetExtent(), NaturalExtent("image/png", bytes));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(opened.empty());
    doc->Undo();
    EXPECT_TRUE(doc->ObjectList().empty());
    EXPECT_TRUE(doc->Items().empty());

    InsertObjectHooks().choose = nullptr;
    InsertObjectHooks().chooseFile = [&](QWidget*) { return QString::fromStdString(path); };
    ModalDialogCloser closer([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Objekt einfügen");
        for (const char* name : {"createFromFile", "browse", "link", "button1"}) {
            QTest::mouseClick(dialog.findChild<QAbstractButton*>(name), Qt::LeftButton, {},
                              QPoint(4, 6));
        }
    });
    ASSERT_TRUE(InsertNewObject(*doc, {0, 0, 0, 0}, nullptr));
    EXPECT_TRUE(Item().IsLinked());
    EXPECT_EQ(Item().GetLinkPath(), path);
}

TEST_F(EmbeddedObjects, NewPictureIsAWhitePngOpenedAtOnce)
{
    InsertObjectHooks().choose = [](InsertObjectChoice& choice, QWidget*) {
        choice.kind = NewObjectKind::picture;
        return true;
    };
    ASSERT_TRUE(InsertNewObject(*doc, {0, 0, 0, 0}, nullptr));
    QImage image =
        QImage::fromData(Item().GetData().data(), static_cast<int>(Item().GetData().size()), "PNG");
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_EQ(image.pixel(200, 150), QColor(Qt::white).rgb());
    EXPECT_EQ(Item().GetMimeType(), "image/png");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(ReadBytes(opened[0].toStdString()), Item().GetData());
    EXPECT_EQ(Item().GetItemState(), ItemState::open);
}

TEST_F(EmbeddedObjects, UnreadableFileShowsMessage102AndLeavesTheMapAsItWas)
{
    InsertObjectHooks().choose = [&](InsertObjectChoice& choice, QWidget*) {
        choice.fromFile = true;
        choice.path = dir.File("missing.png");
        return true;
    };
    EXPECT_FALSE(InsertNewObject(*doc, {0, 0, 0, 0}, nullptr));
    EXPECT_EQ(prompts.messages,
              std::vector<std::string>{"Failed to create object.  Make sure the object is "
                                       "entered in the system registry."});
    EXPECT_TRUE(doc->ObjectList().empty());
    EXPECT_TRUE(doc->Items().empty());
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(doc->CanUndo());
}

TEST_F(EmbeddedObjects, ClosedMapIsNoLongerWatchedAndItsCopiesAreRemoved)
{
    AddEmbeddedPng(Png(40, 30, Qt::red));
    std::string path = dir.File("pin.png");
    WriteBytes(path, Png(40, 30, Qt::red));
    AddLinked(path);
    for (CDrawObj* object : doc->ObjectList()) {
        object->OpenInView(nullptr);
    }
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_FALSE(editor.Opener().WatchedPaths().isEmpty());

    doc.reset();
    EXPECT_TRUE(editor.Opener().WatchedPaths().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(opened[0]));
    WriteBytes(path, Png(80, 60, Qt::blue));
    QTest::qWait(2 * ItemOpener::kSettleMs);
}

}  // namespace
