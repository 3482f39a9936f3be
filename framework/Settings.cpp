#include "framework/Settings.h"

#include <atomic>
#include <charconv>

namespace {

MemorySettings g_defaultSettings;
std::atomic<Settings*> g_settings{nullptr};

}  // namespace

int Settings::GetInt(const std::string& section, const std::string& key, int fallback)
{
    std::string text = GetString(section, key, std::string());
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return text.empty() || error != std::errc() || end != text.data() + text.size() ? fallback
                                                                                    : value;
}

void Settings::SetInt(const std::string& section, const std::string& key, int value)
{
    SetString(section, key, std::to_string(value));
}

Settings& Settings::Current()
{
    Settings* s = g_settings.load();
    return s ? *s : g_defaultSettings;
}

Settings* Settings::SetCurrent(Settings* settings)
{
    return g_settings.exchange(settings);
}

std::string MemorySettings::GetString(const std::string& section, const std::string& key,
                                      const std::string& fallback)
{
    std::lock_guard lock(mutex_);
    auto it = values_.find(section + "/" + key);
    return it == values_.end() ? fallback : it->second;
}

void MemorySettings::SetString(const std::string& section, const std::string& key,
                               const std::string& value)
{
    std::lock_guard lock(mutex_);
    values_[section + "/" + key] = value;
}
