#include "framework/DocManager.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

#include "framework/ArchiveException.h"
#include "framework/Document.h"
#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "framework/TaskRunner.h"

namespace {

const char* const kRecentSection = "Recent File List";

QString Canonical(const QString& path)
{
    QFileInfo info(path);
    QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

DocManager::DocManager(QWidget* dialogParent) : dialogParent_(dialogParent)
{
    chooseType = [this](const QStringList& names) {
        bool ok = false;
        QString chosen = QInputDialog::getItem(dialogParent_, QStringLiteral("Neu"),
                                               QStringLiteral("&Neu"), names, 0, false, &ok);
        return ok ? static_cast<int>(names.indexOf(chosen)) : -1;
    };
}

DocManager::~DocManager()
{
    CloseAllDocuments();
}

DocTemplate* DocManager::AddTemplate(std::unique_ptr<DocTemplate> docTemplate)
{
    templates_.push_back(std::move(docTemplate));
    return templates_.back().get();
}

DocManager::Entry* DocManager::Find(Document* document) const
{
    for (const Entry& e : documents_) {
        if (e.document.get() == document) {
            return const_cast<Entry*>(&e);
        }
    }
    return nullptr;
}

const std::vector<Document*> DocManager::Documents() const
{
    std::vector<Document*> all;
    for (const Entry& e : documents_) {
        all.push_back(e.document.get());
    }
    return all;
}

DocTemplate* DocManager::TemplateOf(Document* document) const
{
    Entry* e = Find(document);
    return e ? e->docTemplate : nullptr;
}

QString DocManager::Title(Document* document) const
{
    Entry* e = Find(document);
    return e ? e->title : QString();
}

Document* DocManager::Adopt(std::unique_ptr<Document> document, DocTemplate* docTemplate,
                            QString title)
{
    Document* raw = document.get();
    documents_.push_back({std::move(document), docTemplate, std::move(title)});
    emit documentOpened(raw, docTemplate);
    return raw;
}

Document* DocManager::FileNew()
{
    if (templates_.empty()) {
        return nullptr;
    }
    if (templates_.size() == 1) {
        return NewDocument(templates_.front().get());
    }
    QStringList names;
    for (const auto& t : templates_) {
        names << QString::fromStdString(t->strings().newName);
    }
    int chosen = chooseType(names);
    if (chosen < 0 || chosen >= static_cast<int>(templates_.size())) {
        return nullptr;
    }
    return NewDocument(templates_[static_cast<size_t>(chosen)].get());
}

Document* DocManager::NewDocument(DocTemplate* docTemplate)
{
    std::unique_ptr<Document> document = docTemplate->CreateDocument();
    if (!document || !document->OnNewDocument()) {
        return nullptr;
    }
    return Adopt(std::move(document), docTemplate, docTemplate->NextUntitledName());
}

Document* DocManager::FileOpen()
{
    QStringList filters;
    for (const auto& t : templates_) {
        filters << t->Filter();
    }
    filters << QStringLiteral("Alle Dateien (*)");
    QString path = QFileDialog::getOpenFileName(dialogParent_, QStringLiteral("Öffnen"), QString(),
                                                filters.join(QStringLiteral(";;")));
    return path.isEmpty() ? nullptr : OpenDocumentFile(path);
}

Document* DocManager::OpenDocumentFile(const QString& path)
{
    QString canonical = Canonical(path);
    for (const Entry& e : documents_) {
        if (!e.document->GetPathName().empty() &&
            Canonical(QString::fromStdString(e.document->GetPathName())) == canonical) {
            emit documentActivated(e.document.get());
            return e.document.get();
        }
    }
    DocTemplate* docTemplate = nullptr;
    for (const auto& t : templates_) {
        if (t->MatchesFile(path)) {
            docTemplate = t.get();
        }
    }
    if (!docTemplate) {
        docTemplate = templates_.empty() ? nullptr : templates_.front().get();
    }
    std::unique_ptr<Document> document = docTemplate ? docTemplate->CreateDocument() : nullptr;
    if (!document) {
        Prompts::Current().Message("Failed to open document.");
        return nullptr;
    }
    try {
        document->OnOpenDocument(canonical.toStdString());
    } catch (const ArchiveException& e) {
        Prompts::Current().Message(e.UserMessage());
        if (e.kind() == ArchiveException::FileError) {
            RemoveRecentFile(canonical);
        }
        return nullptr;
    }
    AddRecentFile(canonical);
    return Adopt(std::move(document), docTemplate, QFileInfo(canonical).fileName());
}

bool DocManager::SaveDocument(Document* document, bool saveAs)
{
    Entry* entry = Find(document);
    if (!entry) {
        return false;
    }
    QString path = QString::fromStdString(document->GetPathName());
    // A document that cannot be saved under its name (a read-only file, a folder the user
    // may not write, a full disk) has said why; then another name is asked for.
    if (!saveAs && !path.isEmpty() && SaveDocumentAs(document, path)) {
        return true;
    }
    QString extension = QString::fromStdString(entry->docTemplate->strings().extension);
    QString suggestion = path.isEmpty() ? entry->title + extension : path;
    path = QFileDialog::getSaveFileName(dialogParent_, QStringLiteral("Speichern unter"),
                                        suggestion, entry->docTemplate->Filter());
    if (path.isEmpty()) {
        return false;
    }
    if (!extension.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += extension;
    }
    return SaveDocumentAs(document, path);
}

bool DocManager::SaveDocumentAs(Document* document, const QString& path)
{
    Entry* entry = Find(document);
    if (!entry) {
        return false;
    }
    try {
        document->OnSaveDocument(path.toStdString());
    } catch (const ArchiveException& e) {
        Prompts::Current().Message(e.UserMessage(true));
        return false;
    }
    QString canonical = Canonical(path);
    entry->title = QFileInfo(canonical).fileName();
    AddRecentFile(canonical);
    emit titleChanged(document);
    return true;
}

bool DocManager::SaveModified(Document* document)
{
    if (!document->IsModified()) {
        return true;
    }
    Prompts::Answer answer = Prompts::Current().YesNoCancel(
        QStringLiteral("Änderungen an %1 speichern?").arg(Title(document)).toStdString());
    if (answer == Prompts::Answer::Cancel) {
        return false;
    }
    return answer == Prompts::Answer::No || SaveDocument(document, false);
}

bool DocManager::CloseDocument(Document* document)
{
    // A running task may be using the document's connection.
    if (TaskRunner::Current().Busy() || !Find(document) || !SaveModified(document)) {
        return false;
    }
    emit documentClosing(document);
    for (auto it = documents_.begin(); it != documents_.end(); ++it) {
        if (it->document.get() == document) {
            std::unique_ptr<Document> dying = std::move(it->document);
            documents_.erase(it);
            break;
        }
    }
    return true;
}

bool DocManager::SaveAllModified()
{
    for (Document* document : Documents()) {
        if (!SaveModified(document)) {
            return false;
        }
    }
    return true;
}

void DocManager::CloseAllDocuments()
{
    while (!documents_.empty()) {
        Document* document = documents_.back().document.get();
        emit documentClosing(document);
        documents_.pop_back();
    }
}

QStringList DocManager::RecentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kRecentFiles; ++i) {
        std::string file =
            Settings::Current().GetString(kRecentSection, "File" + std::to_string(i), "");
        if (!file.empty()) {
            files << QString::fromStdString(file);
        }
    }
    return files;
}

void DocManager::StoreRecentFiles(const QStringList& files)
{
    for (int i = 1; i <= kRecentFiles; ++i) {
        Settings::Current().SetString(kRecentSection, "File" + std::to_string(i),
                                      i <= files.size() ? files[i - 1].toStdString() : "");
    }
    emit recentFilesChanged();
}

void DocManager::AddRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFiles) {
        files.removeLast();
    }
    StoreRecentFiles(files);
}

void DocManager::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    if (files.removeAll(path) > 0) {
        StoreRecentFiles(files);
    }
}
