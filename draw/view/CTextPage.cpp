#include "draw/view/CTextPage.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "draw/paint/FontMapping.h"

CTextPage::CTextPage(const TextPageValues& values, FontChooser chooseFont, QWidget* parent)
    : CPropertyPage(parent),
      values_(values),
      chooseFont_(chooseFont ? std::move(chooseFont) : ChooseFontInDialog),
      text_(new QPlainTextEdit(QString::fromStdString(values.text), this)),
      transparent_(new QCheckBox(QStringLiteral("Transparenter Hintergrund"), this))
{
    text_->setObjectName(QStringLiteral("edit108"));
    auto* textGroup = new QGroupBox(QStringLiteral("Text"), this);
    auto* textLayout = new QVBoxLayout(textGroup);
    textLayout->addWidget(text_);

    transparent_->setObjectName(QStringLiteral("check103"));
    transparent_->setChecked(values.transparent);
    auto* look = new QGroupBox(QStringLiteral("Darstellung"), this);
    auto* lookLayout = new QHBoxLayout(look);
    lookLayout->addWidget(transparent_);
    lookLayout->addStretch(1);

    auto* font = new QPushButton(QStringLiteral("Schriftart"), this);
    font->setObjectName(QStringLiteral("button124"));
    font->setAutoDefault(false);
    connect(font, &QPushButton::clicked, this, &CTextPage::OnFont);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(font);
    buttonRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup, 1);
    layout->addWidget(look);
    layout->addLayout(buttonRow);
}

void CTextPage::OnFont()
{
    QFont font = FontFromLogFont(values_.font);
    if (chooseFont_(font, this)) {
        values_.font = LogFontFromFont(font);
        values_.fontFlag = 1;
    }
}

bool CTextPage::SaveData()
{
    values_.text = text_->toPlainText().toStdString();
    values_.transparent = transparent_->isChecked();
    return true;
}

bool CTextPage::ChooseFontInDialog(QFont& font, QWidget* parent)
{
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font, parent, QStringLiteral("Schriftart"));
    if (ok) {
        font = chosen;
    }
    return ok;
}
