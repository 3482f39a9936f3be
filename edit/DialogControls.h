#pragma once

#include <optional>
#include <string>

#include <QString>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The data exchange of the point dialogs' controls. Numbers are shown and read as
// edit/DialogNumbers.h says. A value that cannot be read is reported with the standard
// prompt (through Prompts::Current()), its edit gets the focus with its text selected, and
// the reader gives nothing.

// Shows `value` unless the edit's text already reads as exactly this value, so that writing
// the values back while the user types keeps the typed text and the caret.
void ShowDouble(QLineEdit* edit, double value);
void ShowInt(QLineEdit* edit, int value);

// Reports `prompt` (UTF-8) and gives the edit the focus with its text selected.
void RefuseInput(QLineEdit* edit, const std::string& prompt);

std::optional<double> ReadDouble(QLineEdit* edit);
// A number within [low, high].
std::optional<double> ReadDouble(QLineEdit* edit, double low, double high);
// An integer within [low, high].
std::optional<int> ReadInt(QLineEdit* edit, int low, int high);
// The edit's text (UTF-8) when it has at most `maxChars` record characters.
std::optional<std::string> ReadText(QLineEdit* edit, int maxChars);

// Letters typed into the edit appear in upper case, as in the receiver's fields.
void KeepUpperCase(QLineEdit* edit);

// A push button named "button<id>" after its resource number, so tests find it; it does not
// take Return from the dialog's edits.
QPushButton* DialogButton(const QString& text, QWidget* parent, int id);

// Sorts the entries by their text, ignoring case (entries of equal text keep their order);
// item data and icons go with them. No entry is selected afterwards.
void SortComboItems(QComboBox* combo);
// The entry the combo box has selected: for a combo box with an edit field, the current
// entry when the edit shows its text, else the first entry of exactly the typed text (an
// empty edit selects none); -1 when there is none.
int SelectedComboIndex(const QComboBox* combo);
// No entry selected and, for a combo box with an edit field, an empty edit.
void ClearComboSelection(QComboBox* combo);

inline QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}
