#pragma once

#include <gtest/gtest.h>
#include <QApplication>
#include <QTest>

#include "app/CEditorApp.h"
#include "app/CMainFrame.h"
#include "app/CSplitFrame.h"
#include "draw/model/CDrawDoc.h"
#include "draw/model/MapTools.h"
#include "draw/view/CDrawView.h"
#include "link/SharedPort.h"
#include "tests/RecordingPrompts.h"
#include "tests/TempDir.h"

// The editor on an empty map file, its window active.
class MapWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        SharedPort::Instance().SetOpener([](const std::string&, int& error) {
            error = ENOENT;
            return std::unique_ptr<SerialPort>();
        });
        CDrawDoc empty;
        empty.OnNewDocument();
        empty.OnSaveDocument(dir.File("map.orvg"));
        app = std::make_unique<CEditorApp>(&settings, &prompts);
        ASSERT_TRUE(app->InitInstance({QString::fromStdString(dir.File("map.orvg"))}));
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
        window = qobject_cast<CSplitFrame*>(frame().ActiveChild());
        ASSERT_NE(window, nullptr);
        view = window->ActivePane();
        doc = view->GetDocument();
        view->setFocus();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (doc) {
            doc->SetModifiedFlag(false);
        }
        app.reset();
        SharedPort::Instance().SetOpener(nullptr);
    }

    CMainFrame& frame() { return *app->mainFrame(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    // A drag with the left button from `from` to `to` (client points of `on`).
    void Drag(CDrawView* on, QPoint from, QPoint to)
    {
        QTest::mousePress(on->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(on->viewport(), (from + to) / 2);
        QTest::mouseMove(on->viewport(), to);
        QTest::mouseRelease(on->viewport(), Qt::LeftButton, {}, to);
    }
    void Click(QPoint at) { QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at); }
    std::unique_ptr<CDrawDoc> Saved()
    {
        auto saved = std::make_unique<CDrawDoc>();
        saved->OnOpenDocument(dir.File("map.orvg"));
        return saved;
    }

    TempDir dir;
    MemorySettings settings;
    RecordingPrompts prompts;
    std::unique_ptr<CEditorApp> app;
    CSplitFrame* window = nullptr;
    CDrawView* view = nullptr;
    CDrawDoc* doc = nullptr;
};
