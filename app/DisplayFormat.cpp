#include "app/DisplayFormat.h"

#include <QLocale>
#include <clocale>

#include "framework/Settings.h"

void ApplyDisplayFormat(int displayFormat)
{
    if (displayFormat == 0) {
        std::setlocale(LC_ALL, "");
        QLocale::setDefault(QLocale::system());
    } else {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
}

void ApplyStoredDisplayFormat()
{
    ApplyDisplayFormat(Settings::Current().GetInt("Settings", "DisplayFormat", 0));
}
