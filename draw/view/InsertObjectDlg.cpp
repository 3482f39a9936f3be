#include "draw/view/InsertObjectDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

InsertObjectDlg::InsertObjectDlg(std::function<QString(QWidget*)> chooseFile, QWidget* parent)
    : QDialog(parent),
      chooseFile_(std::move(chooseFile)),
      createNew_(new QRadioButton(QStringLiteral("&Neu erstellen"), this)),
      fromFile_(new QRadioButton(QStringLiteral("Aus &Datei erstellen"), this)),
      kinds_(new QListWidget(this)),
      file_(new QLineEdit(this)),
      browse_(new QPushButton(QStringLiteral("Durch&suchen..."), this)),
      link_(new QCheckBox(QStringLiteral("&Verknüpfen"), this)),
      ok_(nullptr)
{
    setWindowTitle(QStringLiteral("Objekt einfügen"));
    createNew_->setObjectName(QStringLiteral("createNew"));
    fromFile_->setObjectName(QStringLiteral("createFromFile"));
    kinds_->setObjectName(QStringLiteral("kinds"));
    file_->setObjectName(QStringLiteral("file"));
    browse_->setObjectName(QStringLiteral("browse"));
    link_->setObjectName(QStringLiteral("link"));

    // In the order of NewObjectKind.
    kinds_->addItems({QStringLiteral("Bild (PNG)"), QStringLiteral("Textdokument")});
    kinds_->setCurrentRow(0);
    createNew_->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("button1"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("Abbrechen"));
    cancel->setObjectName(QStringLiteral("button2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(createNew_, &QRadioButton::toggled, this, [this] { UpdateControls(); });
    connect(file_, &QLineEdit::textChanged, this, [this] { UpdateControls(); });
    connect(browse_, &QPushButton::clicked, this, [this] { Browse(); });

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_);
    fileRow->addWidget(browse_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createNew_);
    layout->addWidget(kinds_);
    layout->addWidget(fromFile_);
    layout->addLayout(fileRow);
    layout->addWidget(link_);
    layout->addWidget(buttons);
    UpdateControls();
}

InsertObjectChoice InsertObjectDlg::Choice() const
{
    InsertObjectChoice choice;
    choice.fromFile = fromFile_->isChecked();
    choice.kind = kinds_->currentRow() == 1 ? NewObjectKind::text : NewObjectKind::picture;
    choice.path = file_->text().toStdString();
    choice.link = link_->isChecked();
    return choice;
}

void InsertObjectDlg::Browse()
{
    QString path = chooseFile_ ? chooseFile_(this) : QString();
    if (!path.isEmpty()) {
        file_->setText(path);
    }
}

void InsertObjectDlg::UpdateControls()
{
    bool fromFile = fromFile_->isChecked();
    kinds_->setEnabled(!fromFile);
    file_->setEnabled(fromFile);
    browse_->setEnabled(fromFile);
    link_->setEnabled(fromFile);
    ok_->setEnabled(!fromFile || !file_->text().trimmed().isEmpty());
}
