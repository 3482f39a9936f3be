#include "draw/view/ItemPropertiesPage.h"

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "draw/model/CDrawDoc.h"
#include "draw/model/CDrawItem.h"
#include "draw/model/CDrawOleObj.h"
#include "draw/paint/ItemPictures.h"
#include "framework/Prompts.h"

namespace {

enum class LinkHealth { fine, missing, unreadable };

LinkHealth HealthOf(const CDrawItem& item)
{
    QFile file(QString::fromStdString(item.GetLinkPath()));
    if (!file.exists()) {
        return LinkHealth::missing;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return LinkHealth::unreadable;
    }
    if (item.IsPicture()) {
        QByteArray data = file.readAll();
        if (!DecodesAsPicture(item.GetMimeType(), std::vector<uint8_t>(data.begin(), data.end()))) {
            return LinkHealth::unreadable;
        }
    }
    return LinkHealth::fine;
}

QString Bytes(qint64 count)
{
    return QLocale().toString(count) + QStringLiteral(" Bytes");
}

QLabel* Value(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

ItemPropertiesPage::ItemPropertiesPage(CDrawDoc& doc, uint32_t number, ItemOpener* opener,
                                       QWidget* parent)
    : CPropertyPage(parent),
      doc_(doc),
      number_(number),
      opener_(opener),
      type_(Value(this, "type")),
      name_(Value(this, "name")),
      bytes_(Value(this, "bytes")),
      natural_(Value(this, "natural")),
      storage_(Value(this, "storage")),
      state_(Value(this, "state")),
      embed_(new QPushButton(QStringLiteral("In die Karte übernehmen"), this))
{
    embed_->setObjectName(QStringLiteral("embed"));
    connect(embed_, &QPushButton::clicked, this, [this] { Embed(); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Typ:"), type_);
    form->addRow(QStringLiteral("Name:"), name_);
    form->addRow(QStringLiteral("Größe:"), bytes_);
    form->addRow(QStringLiteral("Natürliche Größe:"), natural_);
    form->addRow(QStringLiteral("Art:"), storage_);
    form->addRow(QStringLiteral("Zustand:"), state_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(embed_, 0, Qt::AlignLeft);
    layout->addStretch();
    Fill();
}

CDrawItem* ItemPropertiesPage::Item() const
{
    for (const auto& item : doc_.Items()) {
        if (item->GetItemNumber() == number_) {
            return item.get();
        }
    }
    return nullptr;
}

QString ItemPropertiesPage::StateText(const CDrawItem& item, const ItemOpener::Status& status)
{
    const bool shown = !item.GetData().empty();
    if (item.IsLinked()) {
        switch (HealthOf(item)) {
        case LinkHealth::missing:
            return shown
                       ? QStringLiteral(
                             "Die verknüpfte Datei fehlt; gezeigt wird der letzte gelesene Stand.")
                       : QStringLiteral("Die verknüpfte Datei fehlt; gezeigt wird ein Symbol.");
        case LinkHealth::unreadable:
            return shown ? QStringLiteral(
                               "Die verknüpfte Datei ist nicht lesbar; gezeigt wird "
                               "der letzte gelesene Stand.")
                         : QStringLiteral(
                               "Die verknüpfte Datei ist nicht lesbar; gezeigt wird "
                               "ein Symbol.");
        case LinkHealth::fine:
            break;
        }
        return status.open ? QStringLiteral(
                                 "In einem anderen Programm geöffnet; Änderungen der "
                                 "Datei werden übernommen.")
                           : QStringLiteral("Die verknüpfte Datei ist vorhanden.");
    }
    if (!status.open) {
        return QStringLiteral("In der Karte gespeichert.");
    }
    QString open = QStringLiteral("In einem anderen Programm geöffnet (%1). ").arg(status.file);
    if (!status.problem.isEmpty()) {
        return open + QStringLiteral(
                          "Der zuletzt gespeicherte Stand wurde nicht übernommen: %1 "
                          "Gezeigt wird der letzte gelesene Stand.")
                          .arg(status.problem);
    }
    return open + (status.writtenBack ? QStringLiteral("Änderungen werden übernommen.")
                                      : QStringLiteral("Noch nicht zurückgeschrieben."));
}

void ItemPropertiesPage::Fill()
{
    const CDrawItem* item = Item();
    if (!item) {
        return;
    }
    QString mime = QString::fromStdString(item->GetMimeType());
    type_->setText(
        (item->IsPicture() ? QStringLiteral("Bild (%1)") : QStringLiteral("Dokument (%1)"))
            .arg(mime));
    name_->setText(QString::fromStdString(item->GetName()));

    QString path = QString::fromStdString(item->GetLinkPath());
    QFileInfo linked(path);
    if (item->IsLinked() && linked.exists()) {
        bytes_->setText(Bytes(linked.size()));
    } else if (item->IsLinked()) {
        bytes_->setText(Bytes(static_cast<qint64>(item->GetData().size())) +
                        QStringLiteral(" (letzter gelesener Stand)"));
    } else {
        bytes_->setText(Bytes(static_cast<qint64>(item->GetData().size())));
    }

    CSize extent;
    if (item->GetExtent(extent)) {
        // The extent is in 0.01 mm.
        QLocale locale;
        natural_->setText(QStringLiteral("%1 x %2 cm")
                              .arg(locale.toString(extent.cx / 1000.0, 'f', 2),
                                   locale.toString(extent.cy / 1000.0, 'f', 2)));
    } else {
        natural_->setText(QStringLiteral("unbekannt"));
    }

    switch (item->GetType()) {
    case OT_LINK:
        storage_->setText(QStringLiteral("Verknüpft mit %1").arg(path));
        break;
    case OT_STATIC:
        storage_->setText(QStringLiteral("Nur das Bild, in der Karte"));
        break;
    default:
        storage_->setText(QStringLiteral("In die Karte eingebettet"));
        break;
    }
    ItemOpener::Status status;
    if (opener_) {
        status = opener_->StatusOf(&doc_, number_);
    }
    state_->setText(StateText(*item, status));
    embed_->setVisible(item->IsLinked());
}

void ItemPropertiesPage::Embed()
{
    CDrawItem* item = Item();
    if (!item || !item->IsLinked()) {
        return;
    }
    std::string path = item->GetLinkPath();
    std::string error;
    bool embedded = false;
    {
        CDrawDoc::UndoStep step(doc_, "In die Karte übernehmen");
        embedded = EmbedLinkedFile(*item, error);
        if (embedded) {
            item->OnChange(OLE_CHANGED);  // the frame turns solid; the size may change
            doc_.SetModifiedFlag();
        }
    }
    if (!embedded) {
        Prompts::Current().Message(
            path + ":\nDie Datei kann nicht gelesen werden; das Objekt bleibt verknüpft.");
        return;
    }
    if (opener_) {
        opener_->Forget(&doc_, number_);  // the map's copy no longer follows that file
    }
    Fill();
}
