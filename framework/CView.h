#pragma once

#include "framework/CommandTarget.h"
#include "framework/Document.h"

// A view of a document: told of the document's changes, and the first target of the
// commands while it is active. The editor's views are widgets that also derive from this.
class CView : public View, public CommandTarget {
public:
    ~CView() override { AttachDocument(nullptr); }

    Document* GetDocument() const { return document_; }
    // Detaches from the previous document, attaches to `document` (may be null).
    void AttachDocument(Document* document)
    {
        if (document_) {
            OnDetaching();
            document_->RemoveView(this);
        }
        document_ = document;
        if (document_) {
            document_->AddView(this);
        }
    }
    // Called once after the view has been attached and shown.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, {}); }

protected:
    // The view is about to let go of its document (which still exists). A derived view
    // that attaches a document calls AttachDocument(nullptr) in its own destructor, so that
    // this reaches it.
    virtual void OnDetaching() {}

private:
    Document* document_ = nullptr;
};
