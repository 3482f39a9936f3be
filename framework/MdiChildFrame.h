#pragma once

#include <QMdiSubWindow>
#include <vector>

#include "framework/CommandTarget.h"

class CView;
class DocManager;
class DocTemplate;
class Document;

// A window of the multi-document frame showing a document in one view, or (a window with
// panes) in several. Commands go to the active view. Closing the last window of a document
// asks to save it and then closes the document. No window closes while a task runs.
class MdiChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT

public:
    MdiChildFrame(DocManager* manager, Document* document, DocTemplate* docTemplate, CView* view);

    // The view that gets the commands: the window's one view, or its active pane.
    virtual CView* view() const { return view_; }
    // Every view of the window.
    virtual std::vector<CView*> Views() const { return {view_}; }
    Document* document() const { return document_; }
    DocTemplate* docTemplate() const { return docTemplate_; }

    // The first update of the window's views, once it is shown.
    virtual void InitialUpdate();
    // The title: the document's title, with ":n" when the document has several windows,
    // and the modified mark.
    void UpdateTitle(int number, int count);
    // Closes without asking (the document is going away).
    void CloseForDocument();

protected:
    // For windows that make their views themselves.
    MdiChildFrame(DocManager* manager, Document* document, DocTemplate* docTemplate);
    void closeEvent(QCloseEvent* event) override;
    // Detaches every view of the window from the document.
    void DetachViews();

    DocManager* manager_;

private:
    Document* document_;
    DocTemplate* docTemplate_;
    CView* view_ = nullptr;
    bool documentGone_ = false;
};
