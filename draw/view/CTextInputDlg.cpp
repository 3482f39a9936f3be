#include "draw/view/CTextInputDlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

namespace {

bool InRange(int i)
{
    return i >= 0 && i < TEXT_INPUT_COUNT;
}

}  // namespace

CTextInputDlg::CTextInputDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Texte eingeben"));
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < TEXT_INPUT_COUNT; ++i) {
        QLineEdit* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("edit%1").arg(126 + i));
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 64);
        // Texts have no length limit (Qt's default cuts at 32767 characters).
        edit->setMaxLength(std::numeric_limits<int>::max());
        edits_[static_cast<size_t>(i)] = edit;
        layout->addWidget(edit);
    }
    layout->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("button1"));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(QStringLiteral("Abbrechen"));
    cancel->setObjectName(QStringLiteral("button2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CTextInputDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void CTextInputDlg::SetText(int i, const std::string& recordText)
{
    if (!InRange(i)) {
        return;
    }
    auto n = static_cast<size_t>(i);
    texts_[n] = recordText;
    shown_[n] = QString::fromStdString(LineFieldText(recordText));
    QLineEdit* edit = edits_[n];
    edit->setText(shown_[n]);
    edit->setCursorPosition(0);  // a long text shows its beginning
}

const std::string& CTextInputDlg::Text(int i) const
{
    static const std::string none;
    return InRange(i) ? texts_[static_cast<size_t>(i)] : none;
}

void CTextInputDlg::accept()
{
    for (size_t i = 0; i < texts_.size(); ++i) {
        if (edits_[i]->text() != shown_[i]) {
            texts_[i] = RecordTextFromLineField(edits_[i]->text().toStdString());
        }
    }
    QDialog::accept();
}
