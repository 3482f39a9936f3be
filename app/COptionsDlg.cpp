#include "app/COptionsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>
#include <cstdio>

#include "app/DisplayFormat.h"
#include "edit/LivePosition.h"
#include "framework/Cp1252.h"
#include "framework/Prompts.h"
#include "framework/Settings.h"
#include "gps/CDataDoc.h"
#include "link/SerialDevices.h"
#include "live/PositionSources.h"

namespace {

// Any integer may be typed in; the arrows stay within 1 to 10.
class PortSpinBox : public QSpinBox {
public:
    explicit PortSpinBox(QWidget* parent) : QSpinBox(parent) { setRange(INT_MIN, INT_MAX); }
    void stepBy(int steps) override { setValue(std::clamp(value() + steps, 1, 10)); }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() < 10) {
            enabled |= StepUpEnabled;
        }
        if (value() > 1) {
            enabled |= StepDownEnabled;
        }
        return enabled;
    }
};

}  // namespace

COptionsDlg::COptionsDlg(QWidget* parent, CDataDoc* document) : QDialog(parent), document_(document)
{
    setWindowTitle(QStringLiteral("Allgemeine Optionen"));

    auto* gps = new QGroupBox(QStringLiteral("GPS"), this);
    auto* gpsForm = new QFormLayout(gps);
    gpsForm->addRow(new QLabel(QStringLiteral("Garmin 12 etc"), gps));
    port_ = new PortSpinBox(gps);
    port_->setObjectName(QStringLiteral("port137"));
    gpsForm->addRow(QStringLiteral("Comm - Port"), port_);
    device_ = new QComboBox(gps);
    device_->setObjectName(QStringLiteral("device"));
    device_->addItem(QStringLiteral("Comm - Port (Nummer)"), QString());
    for (const SerialDevice& d : ListSerialDevices()) {
        device_->addItem(QStringLiteral("%1 (%2)").arg(QString::fromStdString(d.path),
                                                       QString::fromStdString(d.description)),
                         QString::fromStdString(d.path));
    }
    gpsForm->addRow(QStringLiteral("Gerät"), device_);
    fastLine_ = new QCheckBox(QStringLiteral("Schnellere Übertragung, wo das Gerät sie kann"), gps);
    fastLine_->setObjectName(QStringLiteral("fastLine"));
    fastLine_->setChecked(Settings::Current().GetInt("Settings", "FastLine", 1) != 0);
    gpsForm->addRow(fastLine_);
    // The unit that answered last on the port, and what it speaks.
    const std::string lastUnit = Settings::Current().GetString("Settings", "LastUnit", "");
    auto* unit = new QLabel(
        lastUnit.empty() ? QStringLiteral("noch keines")
                         : QString::fromStdString(Cp1252ToUtf8(lastUnit)) + QStringLiteral("\n") +
                               QString::fromStdString(Settings::Current().GetString(
                                   "Settings", "LastUnitProtocols", "")),
        gps);
    unit->setObjectName(QStringLiteral("lastUnit"));
    unit->setWordWrap(true);
    unit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    gpsForm->addRow(QStringLiteral("Zuletzt am Port"), unit);
    if (document_) {
        receiver_ = new QComboBox(gps);
        receiver_->setObjectName(QStringLiteral("receiver"));
        for (const ReceiverProfile& profile : KnownProfiles()) {
            receiver_->addItem(QString::fromUtf8(profile.name), QString::fromLatin1(profile.id));
        }
        receiver_->setCurrentIndex(
            receiver_->findData(QString::fromLatin1(document_->Receiver().id)));
        gpsForm->addRow(QStringLiteral("Empfänger des Dokuments"), receiver_);
    }

    // Where the live position comes from, and what a recording takes of it.
    const LiveSourceSettings live = ReadLiveSourceSettings(Settings::Current());
    auto* position = new QGroupBox(QStringLiteral("Live-Position"), this);
    auto* positionForm = new QFormLayout(position);
    liveSource_ = new QComboBox(position);
    liveSource_->setObjectName(QStringLiteral("liveSource"));
    using Kind = LiveSourceSettings::Kind;
    for (auto [kind, text] :
         {std::pair{Kind::PORT, "Empfänger am Port (NMEA oder Garmin erkennen)"},
          std::pair{Kind::RECEIVER, "Empfänger am Port (Garmin-Protokoll)"},
          std::pair{Kind::NMEA, "NMEA 0183 am Port"}, std::pair{Kind::GPSD, "gpsd"}}) {
        liveSource_->addItem(QString::fromUtf8(text), static_cast<int>(kind));
    }
    liveSource_->setCurrentIndex(liveSource_->findData(static_cast<int>(live.kind)));
    positionForm->addRow(QStringLiteral("Quelle"), liveSource_);
    nmeaBaud_ = new QComboBox(position);
    nmeaBaud_->setObjectName(QStringLiteral("nmeaBaud"));
    for (int rate : {4800, 9600, 19200, 38400, 57600, 115200}) {
        nmeaBaud_->addItem(QString::number(rate), rate);
    }
    nmeaBaud_->setCurrentIndex(nmeaBaud_->findData(live.baud));
    positionForm->addRow(QStringLiteral("NMEA - Baud"), nmeaBaud_);
    gpsd_ = new QLineEdit(QString::fromStdString(GpsdAddress(live)), position);
    gpsd_->setObjectName(QStringLiteral("gpsd"));
    positionForm->addRow(QStringLiteral("gpsd (Rechner:Port)"), gpsd_);
    auto* interval = new QWidget(position);
    auto* intervalLayout = new QHBoxLayout(interval);
    intervalLayout->setContentsMargins(0, 0, 0, 0);
    recordEvery_ = new QSpinBox(interval);
    recordEvery_->setObjectName(QStringLiteral("recordEvery"));
    recordEvery_->setRange(1, 3600);
    recordBy_ = new QComboBox(interval);
    recordBy_->setObjectName(QStringLiteral("recordBy"));
    recordBy_->addItem(QStringLiteral("Sekunden"));
    recordBy_->addItem(QStringLiteral("Meter"));
    const RecordingInterval every = ReadRecordingInterval();
    const bool byDistance = every.kind == RecordingInterval::Kind::DISTANCE;
    recordBy_->setCurrentIndex(byDistance ? 1 : 0);
    recordEvery_->setValue(byDistance ? static_cast<int>(every.metres) : every.seconds);
    intervalLayout->addWidget(new QLabel(QStringLiteral("alle"), interval));
    intervalLayout->addWidget(recordEvery_);
    intervalLayout->addWidget(recordBy_);
    intervalLayout->addStretch();
    positionForm->addRow(QStringLiteral("Aufzeichnen"), interval);
    auto enableSourceFields = [this](int index) {
        const auto kind = static_cast<Kind>(liveSource_->itemData(index).toInt());
        nmeaBaud_->setEnabled(kind == Kind::NMEA || kind == Kind::PORT);
        gpsd_->setEnabled(kind == Kind::GPSD);
    };
    enableSourceFields(liveSource_->currentIndex());
    connect(liveSource_, &QComboBox::currentIndexChanged, this, enableSourceFields);

    auto* display = new QGroupBox(QStringLiteral("Display - Format für Zahlen und Datum:"), this);
    auto* displayLayout = new QVBoxLayout(display);
    format_ = new QButtonGroup(this);
    auto* local = new QRadioButton(QStringLiteral("Lokal entspr. Windows - Einstellg."), display);
    auto* us = new QRadioButton(QStringLiteral("US - Standardformat"), display);
    format_->addButton(local, 0);
    format_->addButton(us, 1);
    displayLayout->addWidget(local);
    displayLayout->addWidget(us);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(gps);
    layout->addWidget(position);
    layout->addWidget(display);
    layout->addWidget(buttons);

    // The stored port: "COMn:" in any case shows n (1 when no number can be read); a
    // device path selects that device.
    std::string stored = Settings::Current().GetString("Settings", "Port", "COM1:");
    int number = 1;
    std::string upper = stored;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (std::sscanf(upper.c_str(), "COM%d:", &number) != 1) {
        number = 1;
    }
    port_->setValue(number);
    if (!stored.empty() && stored[0] == '/') {
        QString path = QString::fromStdString(stored);
        int index = device_->findData(path);
        if (index < 0) {
            device_->addItem(path, path);
            index = device_->count() - 1;
        }
        device_->setCurrentIndex(index);
    }
    port_->setEnabled(device_->currentIndex() == 0);
    connect(device_, &QComboBox::currentIndexChanged, this,
            [this](int index) { port_->setEnabled(index == 0); });
    int format = Settings::Current().GetInt("Settings", "DisplayFormat", 0);
    format_->button(format == 0 ? 0 : 1)->setChecked(true);
}

int COptionsDlg::port() const
{
    return port_->value();
}

int COptionsDlg::displayFormat() const
{
    return format_->checkedId();
}

QString COptionsDlg::device() const
{
    return device_->currentData().toString();
}

void COptionsDlg::accept()
{
    LiveSourceSettings live = ReadLiveSourceSettings(Settings::Current());
    live.kind = static_cast<LiveSourceSettings::Kind>(liveSource_->currentData().toInt());
    live.baud = nmeaBaud_->currentData().toInt();
    const std::string gpsd = gpsd_->text().trimmed().toStdString();
    // An address that cannot be read is refused where gpsd is the source; elsewhere the one
    // before stays.
    if (!ParseGpsdAddress(gpsd, live.host, live.gpsdPort) &&
        live.kind == LiveSourceSettings::Kind::GPSD) {
        Prompts::Current().Message("Keine gpsd-Adresse (Rechner oder Rechner:Port): " + gpsd);
        gpsd_->setFocus();
        return;
    }
    QString path = device();
    std::string stored = path.isEmpty() ? "COM" + std::to_string(port()) + ":" : path.toStdString();
    Settings::Current().SetString("Settings", "Port", stored);
    ApplyDisplayFormat(displayFormat());
    Settings::Current().SetInt("Settings", "DisplayFormat", displayFormat());
    Settings::Current().SetInt("Settings", "FastLine", fastLine_->isChecked() ? 1 : 0);
    StoreLiveSourceSettings(Settings::Current(), live);
    RecordingInterval every;
    every.kind = recordBy_->currentIndex() == 1 ? RecordingInterval::Kind::DISTANCE
                                                : RecordingInterval::Kind::TIME;
    every.seconds = recordEvery_->value();
    every.metres = recordEvery_->value();
    StoreRecordingInterval(every);
    if (document_ && receiver_) {
        document_->SetReceiver(receiver_->currentData().toString().toStdString());
    }
    QDialog::accept();
}
