#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QSpinBox;

// "Allgemeine Optionen": the receiver's port and the display format of numbers and dates.
// OK stores both settings and applies the display format at once; Cancel stores nothing.
// Beside the port number the dialog offers the serial devices of this machine and running
// receiver simulators; choosing one stores its path instead of "COM%d:".
class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit COptionsDlg(QWidget* parent = nullptr);

    int port() const;
    int displayFormat() const;
    // The device chosen, or empty when the port number counts.
    QString device() const;

    void accept() override;

private:
    QSpinBox* port_;
    QComboBox* device_;
    QButtonGroup* format_;
};
