#pragma once

#include <any>
#include <functional>
#include <string>
#include <vector>

#include "framework/CommandTarget.h"

class Archive;
class Document;

// Something that shows a document and is told when the document changes.
class View {
public:
    virtual ~View() = default;
    // `sender` is the view that caused the change (or null), `hint` and `payload` say what
    // changed; their meaning and the payload's type belong to the document type (empty when
    // the hint needs none).
    virtual void OnUpdate(View* sender, long hint, const std::any& payload) = 0;
};

// Base of the program's documents: a path, a modified flag, the attached views, and
// loading and storing through an Archive. Loading and storing throw ArchiveException;
// a document never shows a message itself. Documents take the commands their views leave.
class Document : public CommandTarget {
public:
    Document() = default;
    virtual ~Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Stores or loads the whole content, by the archive's direction.
    virtual void Serialize(Archive& archive) = 0;

    // Empties the document, its path and its modified flag; returns success.
    virtual bool OnNewDocument();
    // Loads the file; on success the document takes the path and is unmodified.
    // On failure (ArchiveException) the content is as it was before.
    virtual void OnOpenDocument(const std::string& path);
    // Stores the document atomically: the previous file stays whole when this fails.
    virtual void OnSaveDocument(const std::string& path);
    // Releases the content; called before a new document or file fills it.
    virtual void DeleteContents() {}

    const std::string& GetPathName() const { return path_; }
    void SetPathName(const std::string& path) { path_ = path; }

    // A command of the user runs between these two (the editor's router calls them for the
    // active document); a document that keeps an undo history makes it one step.
    virtual void CommandBegins(int id) { (void)id; }
    virtual void CommandEnds() {}

    bool IsModified() const { return modified_; }
    virtual void SetModifiedFlag(bool modified = true);
    // Called whenever the modified flag changes (the editor shows it in the window title).
    std::function<void()> onModifiedChanged;

    void AddView(View* view);
    void RemoveView(View* view);
    const std::vector<View*>& GetViews() const { return views_; }
    // Calls OnUpdate on every attached view except `sender`.
    void UpdateAllViews(View* sender, long hint = 0, const std::any& payload = {});

private:
    std::string path_;
    bool modified_ = false;
    std::vector<View*> views_;
};
