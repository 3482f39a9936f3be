#include "framework/DocManager.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <thread>

#include "framework/Archive.h"
#include "framework/CView.h"
#include "framework/MdiChildFrame.h"
#include "framework/QtTaskRunner.h"
#include "framework/Settings.h"
#include "tests/TempDir.h"
#include "tests/link/ScriptedPort.h"

namespace {

// A document of one text line.
class TextDoc : public Document {
public:
    std::string text;
    void Serialize(Archive& archive) override
    {
        if (archive.IsStoring()) {
            archive.Write(text.data(), text.size());
        } else {
            text.resize(archive.Remaining());
            archive.Read(text.data(), text.size());
        }
    }
};

class TextView : public QLabel, public CView {
public:
    using QLabel::QLabel;
    void OnUpdate(View*, long, const std::any&) override
    {
        setText(QString::fromStdString(static_cast<TextDoc*>(GetDocument())->text));
    }
};

class DocManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousSettings = Settings::SetCurrent(&settings);
        previousPrompts = Prompts::SetCurrent(&prompts);
        manager.AddTemplate(std::make_unique<DocTemplate>(
            1, "\nText\nText-Datei\nTexte (*.txt)\n.txt\nOrvi.Text\nText Files",
            [] { return std::make_unique<TextDoc>(); },
            [](QWidget* parent, Document*) -> CView* { return new TextView(parent); }));
        QObject::connect(&manager, &DocManager::documentOpened,
                         [this](Document* d, DocTemplate*) { opened.push_back(d); });
    }
    void TearDown() override
    {
        manager.CloseAllDocuments();
        Settings::SetCurrent(previousSettings);
        Prompts::SetCurrent(previousPrompts);
    }

    MemorySettings settings;
    RecordingPrompts prompts;
    Settings* previousSettings = nullptr;
    Prompts* previousPrompts = nullptr;
    DocManager manager;
    std::vector<Document*> opened;
    TempDir dir;
};

TEST_F(DocManagerTest, NewWithOneTypeAndAskingWithTwo)
{
    Document* first = manager.FileNew();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(manager.Title(first), "Text1");
    manager.AddTemplate(std::make_unique<DocTemplate>(
        2, "\nKarte\nKarten\nKarten (*.map)\n.map", [] { return std::make_unique<TextDoc>(); },
        [](QWidget* parent, Document*) -> CView* { return new TextView(parent); }));
    QStringList offered;
    manager.chooseType = [&](const QStringList& names) {
        offered = names;
        return 1;
    };
    Document* second = manager.FileNew();
    EXPECT_EQ(offered, (QStringList{"Text-Datei", "Karten"}));
    EXPECT_EQ(manager.TemplateOf(second)->resourceId(), 2);
    EXPECT_EQ(manager.Title(second), "Karte1");
    manager.chooseType = [](const QStringList&) { return -1; };
    EXPECT_EQ(manager.FileNew(), nullptr);
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(DocManagerTest, SaveAsOpenAndTheRecentFiles)
{
    auto* doc = static_cast<TextDoc*>(manager.FileNew());
    doc->text = "hallo";
    doc->SetModifiedFlag();
    QString path = QString::fromStdString(dir.File("a.txt"));
    ASSERT_TRUE(manager.SaveDocumentAs(doc, path));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(manager.Title(doc), "a.txt");
    EXPECT_EQ(manager.RecentFiles(), QStringList{path});

    // Asking for an open file again gives the open document.
    EXPECT_EQ(manager.OpenDocumentFile(path), doc);
    manager.CloseAllDocuments();
    auto* reopened = static_cast<TextDoc*>(manager.OpenDocumentFile(path));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->text, "hallo");

    for (int i = 0; i < 10; ++i) {
        manager.AddRecentFile(QStringLiteral("/f%1.txt").arg(i));
    }
    QStringList recent = manager.RecentFiles();
    ASSERT_EQ(recent.size(), DocManager::kRecentFiles);
    EXPECT_EQ(recent.front(), "/f9.txt");
    EXPECT_EQ(settings.GetString("Recent File List", "File1", ""), "/f9.txt");

    // A file that has gone is reported and leaves the list.
    manager.AddRecentFile(QString::fromStdString(dir.File("gone.txt")));
    EXPECT_EQ(manager.OpenDocumentFile(QString::fromStdString(dir.File("gone.txt"))), nullptr);
    EXPECT_EQ(prompts.messages.back(), "Failed to open document.");
    EXPECT_FALSE(manager.RecentFiles().contains(QString::fromStdString(dir.File("gone.txt"))));
}

TEST_F(DocManagerTest, ClosingAModifiedDocumentAsksFirst)
{
    auto* doc = static_cast<TextDoc*>(manager.FileNew());
    doc->SetModifiedFlag();
    prompts.answers = {};  // No
    bool closing = false;
    QObject::connect(&manager, &DocManager::documentClosing, [&](Document*) { closing = true; });
    EXPECT_TRUE(manager.CloseDocument(doc));
    EXPECT_TRUE(closing);
    EXPECT_EQ(prompts.questions, std::vector<std::string>{"Änderungen an Text1 speichern?"});
    EXPECT_TRUE(manager.Documents().empty());
}

TEST_F(DocManagerTest, TheLastWindowClosesItsDocument)
{
    QMdiArea area;
    auto* doc = static_cast<TextDoc*>(manager.FileNew());
    DocTemplate* docTemplate = manager.TemplateOf(doc);
    auto makeWindow = [&] {
        CView* view = docTemplate->CreateView(nullptr, doc);
        view->AttachDocument(doc);
        auto* frame = new MdiChildFrame(&manager, doc, docTemplate, view);
        area.addSubWindow(frame);
        return frame;
    };
    MdiChildFrame* one = makeWindow();
    MdiChildFrame* two = makeWindow();
    doc->SetModifiedFlag();
    EXPECT_TRUE(two->close());  // another window still shows the document
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_EQ(manager.Documents().size(), 1u);
    EXPECT_TRUE(one->close());
    EXPECT_EQ(prompts.questions.size(), 1u);
    EXPECT_TRUE(manager.Documents().empty());
}

TEST(QtTaskRunner, RunsOffTheWindowThreadAndCancels)
{
    QtTaskRunner runner;
    std::thread::id caller = std::this_thread::get_id();
    std::thread::id worker;
    EXPECT_EQ(runner.Run(
                  [&] {
                      worker = std::this_thread::get_id();
                      return 7;
                  },
                  {}),
              7);
    EXPECT_NE(worker, caller);

    // Cancel through the dialog: the task waits until the cancel function has run.
    std::atomic<bool> cancelled{false};
    QTimer::singleShot(50, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QProgressDialog*>(w)) {
                for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                    button->click();
                }
            }
        }
    });
    int result = runner.Run(
        [&] {
            for (int i = 0; i < 400 && !cancelled; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return cancelled ? -10 : 0;
        },
        [&] { cancelled = true; });
    EXPECT_EQ(result, -10);
}

}  // namespace
