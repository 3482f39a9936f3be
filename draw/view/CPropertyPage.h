#pragma once

#include <QWidget>

// A page of a CPropertySheet: the controls of one tab. The page keeps the values it shows
// in its own fields; nothing reaches a drawing object unless the sheet ends with OK.
class CPropertyPage : public QWidget {
public:
    using QWidget::QWidget;

    // OK was pressed: takes the controls' values into the page's fields. Returns false when
    // a value is refused; the page has told the user and put the focus on the control, and
    // the sheet stays open.
    virtual bool SaveData() = 0;
};
