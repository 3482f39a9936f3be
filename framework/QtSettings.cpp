#include "framework/QtSettings.h"

#include <QSettings>

namespace {

QString Key(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

}  // namespace

std::string QtSettings::GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback)
{
    QSettings settings("Ostrel Software", "OrviEdit Moving Map Editor");
    QVariant value = settings.value(Key(section, key));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void QtSettings::SetString(const std::string& section, const std::string& key,
                           const std::string& value)
{
    QSettings settings("Ostrel Software", "OrviEdit Moving Map Editor");
    settings.setValue(Key(section, key), QString::fromStdString(value));
}
