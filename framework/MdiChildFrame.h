#pragma once

#include <QMdiSubWindow>

#include "framework/CommandTarget.h"

class CView;
class DocManager;
class DocTemplate;
class Document;

// A window of the multi-document frame showing one view of a document. Closing the last
// window of a document asks to save it and then closes the document. No window closes
// while a task runs.
class MdiChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT

public:
    MdiChildFrame(DocManager* manager, Document* document, DocTemplate* docTemplate, CView* view);

    CView* view() const { return view_; }
    Document* document() const { return document_; }
    DocTemplate* docTemplate() const { return docTemplate_; }

    // The title: the document's title, with ":n" when the document has several windows,
    // and the modified mark.
    void UpdateTitle(int number, int count);
    // Closes without asking (the document is going away).
    void CloseForDocument();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DocManager* manager_;
    Document* document_;
    DocTemplate* docTemplate_;
    CView* view_;
    bool documentGone_ = false;
};
