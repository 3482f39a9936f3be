#include "framework/DocTemplate.h"

#include "framework/CView.h"
#include "framework/MdiChildFrame.h"

DocTemplate::DocTemplate(int resourceId, const std::string& documentString,
                         DocumentFactory documents, ViewFactory views, FrameFactory frames)
    : resourceId_(resourceId),
      strings_(DocumentStrings::Parse(documentString)),
      documents_(std::move(documents)),
      views_(std::move(views)),
      frames_(std::move(frames))
{
}

MdiChildFrame* DocTemplate::CreateFrame(DocManager* manager, Document* document)
{
    if (frames_) {
        return frames_(manager, document, this);
    }
    CView* view = CreateView(nullptr, document);
    if (!view) {
        return nullptr;
    }
    view->AttachDocument(document);
    return new MdiChildFrame(manager, document, this, view);
}

QString DocTemplate::Filter() const
{
    return QString::fromStdString(strings_.filterName);
}

bool DocTemplate::MatchesFile(const QString& path) const
{
    return !strings_.extension.empty() &&
           path.endsWith(QString::fromStdString(strings_.extension), Qt::CaseInsensitive);
}

QString DocTemplate::NextUntitledName()
{
    return QString::fromStdString(strings_.documentName) + QString::number(++untitled_);
}
