#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QUrl>

class CDrawDoc;
class CDrawItem;
class QTemporaryDir;

// Embedded objects opened in other programs. The desktop's default application gets the
// file: a temporary copy of an embedded item's bytes (in a directory of this opener's own,
// removed with it), or a linked item's own file. Whatever that program saves there comes
// back into the item, each time as one undo step of the map. No program tells reliably when
// it has closed a file, so the watch lasts until the map goes (ForgetDocument).
//
// Items are known by document and item number: undo and redo replace the item objects.
// Everything runs on the user-interface thread.
class ItemOpener : public QObject {
    Q_OBJECT

public:
    // Hands a file to the desktop (QDesktopServices::openUrl); tests replace it. False when
    // no program took it.
    static std::function<bool(const QUrl& url)> openUrl;
    // How long a file must stay quiet before it is read, in milliseconds: programs write in
    // several steps.
    static constexpr int kSettleMs = 200;

    ItemOpener();
    ~ItemOpener() override;
    ItemOpener(const ItemOpener&) = delete;
    ItemOpener& operator=(const ItemOpener&) = delete;

    // Opens item `number` of `doc` in the default program, shows it open (hatched) and
    // watches its file. An item open already is handed out again with the same file and
    // watch; its temporary copy is written anew only when the map's item changed since the
    // copy was last in step with it (undo, say). False after telling the user (Prompts)
    // when the file could not be written, a linked file is missing or no program took it.
    bool Open(CDrawDoc& doc, uint32_t number);
    // Stops watching the item and removes its temporary copy; it no longer shows open.
    void Forget(const CDrawDoc* doc, uint32_t number);
    // Stops watching every item of `doc` and removes their temporary copies.
    void ForgetDocument(const CDrawDoc* doc);

    // What the item's properties say about it.
    struct Status {
        bool open = false;
        QString file;              // the file the other program got
        bool writtenBack = false;  // a change of that file has been taken into the map
        QString problem;           // why the file's last state was not taken; empty if none
    };
    Status StatusOf(const CDrawDoc* doc, uint32_t number) const;
    // The files and directories watched (for the tests of forgetting).
    QStringList WatchedPaths() const;

private:
    struct Entry;

    Entry* Find(const CDrawDoc* doc, uint32_t number) const;
    CDrawItem* ItemOf(const Entry& entry) const;
    bool WriteCopy(Entry& entry, const CDrawItem& item);
    void Watch(const Entry& entry);
    void Remove(Entry* entry);
    void PathChanged(const QString& path);
    void Settle(Entry& entry);
    // Reads the settled file and takes it into the item when it is whole and new.
    void TakeBack(Entry& entry);

    std::unique_ptr<QTemporaryDir> dir_;
    QFileSystemWatcher watcher_;
    std::vector<std::unique_ptr<Entry>> entries_;
    int nextFolder_ = 1;
};
