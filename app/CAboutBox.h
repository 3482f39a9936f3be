#pragma once

#include <QDialog>

// The About box: the program's icon, its name and version, and OK.
class CAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit CAboutBox(QWidget* parent = nullptr);
};
