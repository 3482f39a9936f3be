#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "framework/DocTemplate.h"

class Document;
class QWidget;

// Keeps the document types and the open documents, and carries out the file commands:
// new, open, save, save as, close, and the recent-file list. Messages go through Prompts;
// the windows of a document are made by whoever listens to documentOpened.
class DocManager : public QObject {
    Q_OBJECT

public:
    static constexpr int kRecentFiles = 8;

    explicit DocManager(QWidget* dialogParent = nullptr);
    ~DocManager() override;

    DocTemplate* AddTemplate(std::unique_ptr<DocTemplate> docTemplate);
    const std::vector<std::unique_ptr<DocTemplate>>& templates() const { return templates_; }

    // New: with one type its document; with several the user picks one first.
    Document* FileNew();
    Document* NewDocument(DocTemplate* docTemplate);
    // Open: a file dialog with the types' filters.
    Document* FileOpen();
    // Opens `path` as the type of its extension; a document open already is shown again.
    // Null when it fails (the message has been shown).
    Document* OpenDocumentFile(const QString& path);
    // Save, or Save As when asked, when the document has no file yet, or when saving under
    // its name failed (the message has been shown). False when the user cancelled or
    // writing failed.
    bool SaveDocument(Document* document, bool saveAs);
    bool SaveDocumentAs(Document* document, const QString& path);
    // Asks whether to save a modified document: true when it may be closed.
    bool SaveModified(Document* document);
    // Closes the document after asking: its windows go, the document is destroyed.
    bool CloseDocument(Document* document);
    // On exit: asks for every modified document; false when the user cancelled.
    bool SaveAllModified();
    // Destroys every document without asking.
    void CloseAllDocuments();

    const std::vector<Document*> Documents() const;
    DocTemplate* TemplateOf(Document* document) const;
    // The title of a document: its file name, or the name it got when it was made.
    QString Title(Document* document) const;

    QStringList RecentFiles() const;
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

signals:
    // A document was made or loaded and needs a window.
    void documentOpened(Document* document, DocTemplate* docTemplate);
    // A document that is open already was asked for again.
    void documentActivated(Document* document);
    // A document is about to be destroyed: its windows must go.
    void documentClosing(Document* document);
    void titleChanged(Document* document);
    void recentFilesChanged();

public:
    // How New picks a type when there are several (the list of their names; -1 for Cancel).
    // Replaceable, for tests.
    std::function<int(const QStringList& names)> chooseType;

private:
    struct Entry {
        std::unique_ptr<Document> document;
        DocTemplate* docTemplate;
        QString title;
    };
    Entry* Find(Document* document) const;
    Document* Adopt(std::unique_ptr<Document> document, DocTemplate* docTemplate, QString title);
    void StoreRecentFiles(const QStringList& files);

    QWidget* dialogParent_;
    std::vector<std::unique_ptr<DocTemplate>> templates_;
    std::vector<Entry> documents_;
};
