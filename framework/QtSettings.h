#pragma once

#include "framework/Settings.h"

// The user's settings file of the program (company "Ostrel Software", application
// "OrviEdit Moving Map Editor"); sections are its groups.
class QtSettings : public Settings {
public:
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& fallback) override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;
};
