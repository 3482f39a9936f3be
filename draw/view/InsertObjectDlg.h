#pragma once

#include <functional>

#include <QDialog>

#include "draw/view/InsertObject.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The dialog "Objekt einfügen": either "Neu erstellen" ("createNew", the start) with the
// list of kinds ("kinds": "Bild (PNG)", "Textdokument"), or "Aus Datei erstellen"
// ("createFromFile") with the file's path ("file"), "Durchsuchen..." ("browse") and the
// check box "Verknüpfen" ("link"). OK ("button1") is enabled unless a file is wanted and
// none named; "Abbrechen" ("button2").
class InsertObjectDlg : public QDialog {
    Q_OBJECT

public:
    // `chooseFile` runs the file dialog of "Durchsuchen..." (empty result: Cancel).
    InsertObjectDlg(std::function<QString(QWidget*)> chooseFile, QWidget* parent = nullptr);

    InsertObjectChoice Choice() const;

private:
    void Browse();
    void UpdateControls();

    std::function<QString(QWidget*)> chooseFile_;
    QRadioButton* createNew_;
    QRadioButton* fromFile_;
    QListWidget* kinds_;
    QLineEdit* file_;
    QPushButton* browse_;
    QCheckBox* link_;
    QPushButton* ok_;
};
