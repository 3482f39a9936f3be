#pragma once

#include <map>
#include <mutex>
#include <string>

// The program's few settings, addressed by section and key. The editor keeps them in the
// user's settings file (company "Ostrel Software", application "OrviEdit Moving Map
// Editor"); tests use MemorySettings.
class Settings {
public:
    virtual ~Settings() = default;
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) = 0;
    virtual void SetString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
    // Integers are stored as their decimal text; unreadable text gives the fallback.
    int GetInt(const std::string& section, const std::string& key, int fallback);
    void SetInt(const std::string& section, const std::string& key, int value);

    // The current store; until one is installed, an empty MemorySettings.
    static Settings& Current();
    // Installs `settings` (not owned; null restores the default) and returns the previous one.
    static Settings* SetCurrent(Settings* settings);
};

class MemorySettings : public Settings {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;

private:
    std::mutex mutex_;
    std::map<std::string, std::string> values_;
};
