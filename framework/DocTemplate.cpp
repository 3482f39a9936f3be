#include "framework/DocTemplate.h"

DocTemplate::DocTemplate(int resourceId, const std::string& documentString,
                         DocumentFactory documents, ViewFactory views)
    : resourceId_(resourceId),
      strings_(DocumentStrings::Parse(documentString)),
      documents_(std::move(documents)),
      views_(std::move(views))
{
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
