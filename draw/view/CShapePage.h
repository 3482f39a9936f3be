#pragma once

#include "draw/model/PropertyPageValues.h"
#include "draw/view/CPropertyPage.h"

class QCheckBox;
class QLineEdit;
class QToolButton;

// The page "Allgemein" of a shape's property sheet: group "Linien" with the line weight
// ("Stärke", edit "edit102", and beside it the arrows "spin104", which step the number in
// the edit within 0 ... 100), the check box "Stützpunkte anzeigen" ("check125") and group
// "Formen" with "füllen" ("check103").
class CShapePage : public CPropertyPage {
public:
    explicit CShapePage(const ShapePageValues& values, QWidget* parent = nullptr);

    const ShapePageValues& Values() const { return values_; }

    // The weight must be an unsigned number ("Please enter a positive integer.") within
    // 0 ... 100 ("Please enter an integer between 0 and 100."); the message goes through
    // Prompts::Current() and the edit gets the focus with its text selected.
    bool SaveData() override;

protected:
    // Up and down in the edit step the weight as the arrows do.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Step(int delta);
    bool Refuse(const char* message);

    ShapePageValues values_;
    uint32_t spinPosition_;
    QLineEdit* weight_;
    QCheckBox* showHandles_;
    QCheckBox* fill_;
};
