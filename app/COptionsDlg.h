#pragma once

#include <QDialog>

class CDataDoc;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

// "Allgemeine Optionen": the receiver's port and the display format of numbers and dates.
// OK stores both settings and applies the display format at once; Cancel stores nothing.
// Beside the port number the dialog offers the serial devices of this machine and running
// receiver simulators; choosing one stores its path instead of "COM%d:". With a GPS data
// document active, it also offers the receiver whose rules that document's names follow.
// Below, where the live position comes from and how often a recording takes it.
class COptionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit COptionsDlg(QWidget* parent = nullptr, CDataDoc* document = nullptr);

    int port() const;
    int displayFormat() const;
    // The device chosen, or empty when the port number counts.
    QString device() const;

    void accept() override;

private:
    QSpinBox* port_;
    QComboBox* device_;
    QButtonGroup* format_;
    CDataDoc* document_;
    QComboBox* receiver_ = nullptr;  // with a document only
    QCheckBox* fastLine_;
    QComboBox* liveSource_;
    QComboBox* nmeaBaud_;
    QLineEdit* gpsd_;
    QSpinBox* recordEvery_;
    QComboBox* recordBy_;
};
