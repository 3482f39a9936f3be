#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "framework/Document.h"
#include "framework/DocumentStrings.h"

class CView;
class Document;
class QWidget;

// A document type: its strings, how its documents and views are made, and the menu its
// windows show. The editor registers one template per type with the DocManager.
class DocTemplate {
public:
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    // Makes a view widget for `document` under `parent`; the widget also is the CView.
    using ViewFactory = std::function<CView*(QWidget* parent, Document* document)>;

    DocTemplate(int resourceId, const std::string& documentString, DocumentFactory documents,
                ViewFactory views);

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

private:
    int resourceId_;
    DocumentStrings strings_;
    DocumentFactory documents_;
    ViewFactory views_;
    int untitled_ = 0;
};
