#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "framework/Document.h"
#include "framework/DocumentStrings.h"

class CView;
class DocManager;
class Document;
class MdiChildFrame;
class QWidget;

// A document type: its strings, how its documents and views are made, and the menu its
// windows show. The editor registers one template per type with the DocManager.
class DocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    // Makes a view widget for `document` under `parent`; the widget also is the CView.
    using ViewFactory = std::function<CView*(QWidget* parent, Document* document)>;

    // Makes the window of a document (its views included, attached to the document).
    using FrameFactory =
        std::function<MdiChildFrame*(DocManager* manager, Document* document, DocTemplate* self)>;

    // Without a frame factory, a document's window is an MdiChildFrame with one view.
    DocTemplate(int resourceId, const std::string& documentString, DocumentFactory documents,
                ViewFactory views, FrameFactory frames = {});

    int resourceId() const { return resourceId_; }
    const DocumentStrings& strings() const { return strings_; }
    // "Orvi GPS - Daten (*.orvd)"
    QString Filter() const;
    // Whether `path` ends in this type's extension (any case).
    bool MatchesFile(const QString& path) const;
    // The next title of an unnamed document: the document name and a running number.
    QString NextUntitledName();

    std::unique_ptr<Document> CreateDocument() const { return documents_(); }
    CView* CreateView(QWidget* parent, Document* document) const
    {
        return views_(parent, document);
    }
    // A new window showing `document`; null when its view cannot be made.
    MdiChildFrame* CreateFrame(DocManager* manager, Document* document);

private:
    int resourceId_;
    DocumentStrings strings_;
    DocumentFactory documents_;
    ViewFactory views_;
    FrameFactory frames_;
    int untitled_ = 0;
};
