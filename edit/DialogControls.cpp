#include "edit/DialogControls.h"

#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <vector>

#include <QComboBox>
#include <QIcon>
#include <QLineEdit>

#include "edit/DialogNumbers.h"
#include "edit/WaypointDialogValues.h"
#include "framework/Prompts.h"

namespace {

std::nullopt_t Refuse(QLineEdit* edit, const std::string& prompt)
{
    RefuseInput(edit, prompt);
    return std::nullopt;
}

void ShowText(QLineEdit* edit, const std::string& text)
{
    QString shown = FromUtf8(text);
    if (edit->text() != shown) {
        edit->setText(shown);
    }
}

}  // namespace

void RefuseInput(QLineEdit* edit, const std::string& prompt)
{
    Prompts::Current().Message(prompt);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void ShowDouble(QLineEdit* edit, double value)
{
    std::optional<double> current = ParseDialogDouble(ToUtf8(edit->text()));
    // Compared as bits of the text's meaning: 0 and -0 differ, as their texts do.
    if (!current || *current != value || std::signbit(*current) != std::signbit(value)) {
        ShowText(edit, FormatDialogDouble(value));
    }
}

void ShowInt(QLineEdit* edit, int value)
{
    std::optional<int> current = ParseDialogInt(ToUtf8(edit->text()));
    if (!current || *current != value) {
        ShowText(edit, FormatDialogInt(value));
    }
}

std::optional<double> ReadDouble(QLineEdit* edit)
{
    std::optional<double> value = ParseDialogDouble(ToUtf8(edit->text()));
    if (!value) {
        return Refuse(edit, PromptEnterNumber());
    }
    return value;
}

std::optional<double> ReadDouble(QLineEdit* edit, double low, double high)
{
    std::optional<double> value = ReadDouble(edit);
    if (value && (*value < low || *value > high)) {
        return Refuse(edit, PromptNumberBetween(low, high));
    }
    return value;
}

std::optional<int> ReadInt(QLineEdit* edit, int low, int high)
{
    std::optional<int> value = ParseDialogInt(ToUtf8(edit->text()));
    if (!value) {
        return Refuse(edit, PromptEnterInteger());
    }
    if (*value < low || *value > high) {
        return Refuse(edit, PromptIntegerBetween(low, high));
    }
    return value;
}

std::optional<std::string> ReadText(QLineEdit* edit, int maxChars)
{
    std::string text = ToUtf8(edit->text());
    if (RecordTextLength(text) > static_cast<size_t>(maxChars)) {
        return Refuse(edit, PromptMaxChars(maxChars));
    }
    return text;
}

void KeepUpperCase(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        // Character by character, so that no character turns into two (as ß would).
        QString upper = text;
        for (QChar& c : upper) {
            c = c.toUpper();
        }
        if (upper != text) {
            int cursor = edit->cursorPosition();
            edit->setText(upper);
            edit->setCursorPosition(cursor);
        }
    });
}

void SortComboItems(QComboBox* combo)
{
    struct Entry {
        QString text;
        QVariant data;
        QIcon icon;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries.push_back({combo->itemText(i), combo->itemData(i), combo->itemIcon(i)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
    combo->clear();
    for (const Entry& e : entries) {
        combo->addItem(e.icon, e.text, e.data);
    }
    ClearComboSelection(combo);
}

int SelectedComboIndex(const QComboBox* combo)
{
    int current = combo->currentIndex();
    if (!combo->isEditable()) {
        return current;
    }
    QString text = combo->currentText();
    if (current >= 0 && combo->itemText(current) == text) {
        return current;
    }
    if (text.isEmpty()) {
        return -1;
    }
    return combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void ClearComboSelection(QComboBox* combo)
{
    combo->setCurrentIndex(-1);
    if (combo->isEditable()) {
        combo->setEditText(QString());
    }
}

QPushButton* DialogButton(const QString& text, QWidget* parent, int id)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("button%1").arg(id));
    button->setAutoDefault(false);
    return button;
}
