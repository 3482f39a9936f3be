#include "draw/view/CPropertySheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "draw/view/CPropertyPage.h"

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget(this))
{
    setWindowTitle(caption);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("button1"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("Abbrechen"));
    cancel->setObjectName(QStringLiteral("button2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

void CPropertySheet::AddPage(CPropertyPage* page, const QString& title)
{
    pages_.push_back(page);
    tabs_->addTab(page, title);
}

void CPropertySheet::accept()
{
    for (CPropertyPage* page : pages_) {
        if (!page->SaveData()) {
            tabs_->setCurrentWidget(page);
            return;
        }
    }
    QDialog::accept();
}
