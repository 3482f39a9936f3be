#pragma once

#include <array>
#include <string>

#include <QDialog>
#include <QString>

#include "draw/model/TextInput.h"

class QLineEdit;

// "Texte eingeben": six single-line fields one below the other ("edit126" ... "edit131"),
// OK and "Abbrechen". The texts are record texts (Windows-1252, line breaks CR LF) of any
// length; a field shows each line break as LINE_BREAK_SIGN ("↵"), and that sign typed into a
// field becomes a line break. OK takes back the fields whose text the user changed; a field
// that shows what it was given keeps its text byte for byte (also lone CR or LF breaks).
// Cancel leaves all texts as they were set. All texts are empty at first.
class CTextInputDlg : public QDialog {
    Q_OBJECT

public:
    explicit CTextInputDlg(QWidget* parent = nullptr);

    // Text `i`, 0 ... TEXT_INPUT_COUNT - 1; other numbers are ignored (Text gives "").
    void SetText(int i, const std::string& recordText);
    const std::string& Text(int i) const;

    void accept() override;

private:
    std::array<std::string, TEXT_INPUT_COUNT> texts_;
    std::array<QString, TEXT_INPUT_COUNT> shown_;  // what SetText put into each field
    std::array<QLineEdit*, TEXT_INPUT_COUNT> edits_;
};
