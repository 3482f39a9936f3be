#include "draw/view/ItemOpener.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTimer>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/paint/ItemPictures.h"
#include "framework/Prompts.h"

std::function<bool(const QUrl&)> ItemOpener::openUrl = [](const QUrl& url) {
    return QDesktopServices::openUrl(url);
};

struct ItemOpener::Entry {
    CDrawDoc* doc = nullptr;
    uint32_t number = 0;
    bool linked = false;
    QString file;
    QString folder;     // the temporary copy's own folder; empty for a link
    QByteArray inStep;  // digest of the bytes the copy and the item last had in common
    bool writtenBack = false;
    QString problem;
    QTimer settle;
};

namespace {

QByteArray Digest(const std::vector<uint8_t>& bytes)
{
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<qsizetype>(bytes.size())),
                                    QCryptographicHash::Sha1);
}

// The item's name as a file name, with the suffix of its type when it has none, so that the
// desktop picks the program by it.
QString CopyName(const CDrawItem& item)
{
    QString name = QString::fromStdString(item.GetName());
    name.replace(QLatin1Char('/'), QLatin1Char('_')).remove(QChar(0));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        name = QStringLiteral("Objekt");
    }
    if (QFileInfo(name).suffix().isEmpty()) {
        QString suffix = QMimeDatabase()
                             .mimeTypeForName(QString::fromStdString(item.GetMimeType()))
                             .preferredSuffix();
        if (!suffix.isEmpty()) {
            name += QLatin1Char('.') + suffix;
        }
    }
    return name;
}

QString FolderOf(const QString& file)
{
    return QFileInfo(file).absolutePath();
}

void Tell(const QString& file, const char* text)
{
    Prompts::Current().Message(file.toStdString() + ":\n" + text);
}

CDrawItem* FindItem(const CDrawDoc& doc, uint32_t number)
{
    for (const auto& item : doc.Items()) {
        if (item->GetItemNumber() == number) {
            return item.get();
        }
    }
    return nullptr;
}

void Repaint(const CDrawItem& item)
{
    if (CDrawOleObj* object = item.GetDrawObj()) {
        object->RequestRepaint();
    }
}

}  // namespace

ItemOpener::ItemOpener() : QObject(nullptr)
{
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &ItemOpener::PathChanged);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &ItemOpener::PathChanged);
}

ItemOpener::~ItemOpener()
{
    while (!entries_.empty()) {
        Remove(entries_.back().get());
    }
}

ItemOpener::Entry* ItemOpener::Find(const CDrawDoc* doc, uint32_t number) const
{
    for (const auto& entry : entries_) {
        if (entry->doc == doc && entry->number == number) {
            return entry.get();
        }
    }
    return nullptr;
}

CDrawItem* ItemOpener::ItemOf(const Entry& entry) const
{
    return FindItem(*entry.doc, entry.number);
}

bool ItemOpener::Open(CDrawDoc& doc, uint32_t number)
{
    Entry* entry = Find(&doc, number);
    CDrawItem* item = FindItem(doc, number);
    if (!item) {
        return false;
    }
    if (entry && entry->linked != item->IsLinked()) {
        Remove(entry);
        entry = nullptr;
    }
    bool created = !entry;
    if (created) {
        auto owned = std::make_unique<Entry>();
        entry = owned.get();
        entry->doc = &doc;
        entry->number = number;
        entry->linked = item->IsLinked();
        if (entry->linked) {
            entry->file = QFileInfo(QString::fromStdString(item->GetLinkPath())).absoluteFilePath();
        }
        entry->settle.setSingleShot(true);
        connect(&entry->settle, &QTimer::timeout, this, [this, entry] { TakeBack(*entry); });
        entries_.push_back(std::move(owned));
    } else if (entry->settle.isActive()) {
        // A save not taken yet goes into the map before the file is handed out again.
        entry->settle.stop();
        TakeBack(*entry);
    }

    const char* failure = nullptr;
    if (entry->linked) {
        if (!QFileInfo::exists(entry->file)) {
            failure = "Die verknüpfte Datei fehlt.";
        }
    } else {
        // The copy is written anew when the map's item went its own way (undo, say) or the
        // copy was deleted.
        bool stale =
            created || !QFileInfo::exists(entry->file) || Digest(item->GetData()) != entry->inStep;
        if (stale && !WriteCopy(*entry, *item)) {
            failure = "Die Datei für das andere Programm kann nicht angelegt werden.";
        }
    }
    if (!failure) {
        Watch(*entry);
        if (!openUrl(QUrl::fromLocalFile(entry->file))) {
            failure = "Kein Programm öffnet diese Datei.";
        }
    }
    if (failure) {
        QString shown =
            entry->file.isEmpty() ? QString::fromStdString(item->GetName()) : entry->file;
        if (created) {
            Remove(entry);
        }
        Tell(shown, failure);
        return false;
    }
    CDrawItem::MarkOpenElsewhere(&doc, number, true);
    Repaint(*item);
    return true;
}

bool ItemOpener::WriteCopy(Entry& entry, const CDrawItem& item)
{
    if (entry.folder.isEmpty()) {
        if (!dir_) {
            dir_ = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                   QStringLiteral("/orviedit-XXXXXX"));
        }
        if (!dir_->isValid()) {
            return false;
        }
        entry.folder = dir_->filePath(QString::number(nextFolder_++));
        entry.file = entry.folder + QLatin1Char('/') + CopyName(item);
        if (!QDir().mkpath(entry.folder)) {
            return false;
        }
    }
    const std::vector<uint8_t>& bytes = item.GetData();
    QFile out(entry.file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !out.flush()) {
        return false;
    }
    entry.inStep = Digest(bytes);
    return true;
}

void ItemOpener::Watch(const Entry& entry)
{
    QStringList watched = WatchedPaths();
    QStringList wanted;
    if (QFileInfo::exists(entry.file) && !watched.contains(entry.file)) {
        wanted << entry.file;
    }
    QString folder = FolderOf(entry.file);
    if (!watched.contains(folder)) {
        wanted << folder;
    }
    if (!wanted.isEmpty()) {
        watcher_.addPaths(wanted);
    }
}

QStringList ItemOpener::WatchedPaths() const
{
    return watcher_.files() + watcher_.directories();
}

void ItemOpener::Remove(Entry* entry)
{
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [entry](const auto& owned) { return owned.get() == entry; });
    if (it == entries_.end()) {
        return;
    }
    std::unique_ptr<Entry> owned = std::move(*it);
    entries_.erase(it);
    owned->settle.stop();
    CDrawItem::MarkOpenElsewhere(owned->doc, owned->number, false);

    QStringList unused{owned->file, FolderOf(owned->file)};
    for (const auto& other : entries_) {
        unused.removeAll(other->file);
        unused.removeAll(FolderOf(other->file));
    }
    QStringList watched = WatchedPaths();
    unused.erase(
        std::remove_if(unused.begin(), unused.end(),
                       [&watched](const QString& path) { return !watched.contains(path); }),
        unused.end());
    if (!unused.isEmpty()) {
        watcher_.removePaths(unused);
    }
    if (!owned->folder.isEmpty()) {
        QDir(owned->folder).removeRecursively();
    }
}

void ItemOpener::Forget(const CDrawDoc* doc, uint32_t number)
{
    if (Entry* entry = Find(doc, number)) {
        Remove(entry);
        if (CDrawItem* item = FindItem(*doc, number)) {
            Repaint(*item);
        }
    }
}

void ItemOpener::ForgetDocument(const CDrawDoc* doc)
{
    for (size_t i = entries_.size(); i-- > 0;) {
        if (entries_[i]->doc == doc) {
            Remove(entries_[i].get());
        }
    }
}

ItemOpener::Status ItemOpener::StatusOf(const CDrawDoc* doc, uint32_t number) const
{
    Status status;
    if (const Entry* entry = Find(doc, number)) {
        status.open = true;
        status.file = entry->file;
        status.writtenBack = entry->writtenBack;
        status.problem = entry->problem;
    }
    return status;
}

void ItemOpener::PathChanged(const QString& path)
{
    for (const auto& entry : entries_) {
        if (entry->file == path || FolderOf(entry->file) == path) {
            Settle(*entry);
        }
    }
}

void ItemOpener::Settle(Entry& entry)
{
    entry.settle.start(kSettleMs);
}

void ItemOpener::TakeBack(Entry& entry)
{
    // A program that saves by renaming a new file over the old one drops the file from the
    // watch; its folder's change brings us here to watch it again.
    Watch(entry);
    CDrawItem* item = ItemOf(entry);
    if (!item || !item->GetDrawObj()) {
        return;  // not in the map now; undo may bring it back
    }
    if (item->IsLinked() != entry.linked) {
        // Made embedded (or a link again by undo): the file handed out no longer belongs to
        // it. Not removed here, inside the entry's own timer signal.
        QTimer::singleShot(0, this,
                           [this, doc = entry.doc, number = entry.number] { Forget(doc, number); });
        return;
    }
    auto refuse = [&entry, item](const QString& problem) {
        entry.problem = problem;
        if (entry.linked) {
            item->DropPresentation();  // the last read picture stands in
            Repaint(*item);
        }
    };

    QFileInfo before(entry.file);
    if (!before.exists()) {
        refuse(QStringLiteral("Die Datei fehlt."));
        return;
    }
    qint64 size = before.size();
    QDateTime modified = before.lastModified();
    QFile in(entry.file);
    if (!in.open(QIODevice::ReadOnly)) {
        refuse(QStringLiteral("Die Datei ist nicht lesbar: ") + in.errorString());
        return;
    }
    QByteArray data = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        refuse(QStringLiteral("Die Datei ist nicht lesbar: ") + in.errorString());
        return;
    }
    in.close();
    QFileInfo after(entry.file);
    if (data.size() != size || after.size() != size || after.lastModified() != modified) {
        Settle(entry);  // still being written
        return;
    }
    std::vector<uint8_t> bytes(data.begin(), data.end());
    if (item->IsPicture() && !DecodesAsPicture(item->GetMimeType(), bytes)) {
        refuse(QStringLiteral("Die Datei enthält kein lesbares Bild."));
        return;
    }
    bool wasRefused = !entry.problem.isEmpty();
    entry.problem.clear();
    entry.inStep = Digest(bytes);
    if (bytes == item->GetData()) {
        if (entry.linked && wasRefused) {
            item->DropPresentation();  // the file is back as it was
            Repaint(*item);
        }
        return;
    }

    CDrawDoc& doc = *entry.doc;
    CDrawDoc::UndoStep step(doc, "Objekt aktualisieren");
    Repaint(*item);  // where it was, in case its size changes
    CSize extent = NaturalExtent(item->GetMimeType(), bytes);
    if (entry.linked) {
        item->SetLinkedFile(item->GetLinkPath(), item->GetMimeType(), extent, std::move(bytes));
    } else {
        item->SetEmbeddedFile(item->GetName(), item->GetMimeType(), std::move(bytes), extent);
    }
    item->OnChange(OLE_CHANGED);
    doc.SetModifiedFlag();
    entry.writtenBack = true;
}
