#include "framework/Document.h"

#include <algorithm>

#include "framework/Archive.h"
#include "framework/ByteStream.h"

bool Document::OnNewDocument()
{
    DeleteContents();
    path_.clear();
    SetModifiedFlag(false);
    return true;
}

void Document::OnOpenDocument(const std::string& path)
{
    FileInputStream file(path);
    Archive archive(file);
    Serialize(archive);
    path_ = path;
    SetModifiedFlag(false);
}

void Document::OnSaveDocument(const std::string& path)
{
    AtomicFileOutputStream file(path);
    Archive archive(file);
    Serialize(archive);
    file.Commit();
    path_ = path;
    SetModifiedFlag(false);
}

void Document::SetModifiedFlag(bool modified)
{
    if (modified_ == modified) {
        return;
    }
    modified_ = modified;
    if (onModifiedChanged) {
        onModifiedChanged();
    }
}

void Document::AddView(View* view)
{
    if (std::find(views_.begin(), views_.end(), view) == views_.end()) {
        views_.push_back(view);
    }
}

void Document::RemoveView(View* view)
{
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

void Document::UpdateAllViews(View* sender, long hint, const std::any& payload)
{
    // A view may detach itself while it updates; walk a copy.
    std::vector<View*> views = views_;
    for (View* view : views) {
        if (view != sender) {
            view->OnUpdate(sender, hint, payload);
        }
    }
}
