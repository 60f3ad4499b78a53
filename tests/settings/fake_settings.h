// Settings held in memory. Every read also checks the reader's default
// against the settings table: a value with one default must be read with
// that default, a value with several with one of them, and a value the
// program never reads not at all.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "settings/settings_store.h"

namespace cindral::test {

class FakeSettings : public settings::Settings {
public:
    std::map<std::string, std::uint32_t> numbers;
    std::map<std::string, std::string> texts;

protected:
    std::uint32_t readNumber(const std::string& name, std::uint32_t def) const override {
        expectTableDefault(name, [&](const settings::ReaderDefault& d) { return d.number == def; });
        return numbers.count(name) ? numbers.at(name) : def;
    }
    std::string readText(const std::string& name, const std::string& def) const override {
        expectTableDefault(name, [&](const settings::ReaderDefault& d) { return d.text == def; });
        return texts.count(name) ? texts.at(name) : def;
    }
    bool writeNumber(const std::string& name, std::uint32_t value) override {
        numbers[name] = value;
        return true;
    }
    bool writeText(const std::string& name, const std::string& value) override {
        texts[name] = value;
        return true;
    }

private:
    template <typename Matches>
    static void expectTableDefault(const std::string& name, Matches matches) {
        for (const auto& info : settings::settingsTable()) {
            if (info.name != name) continue;
            EXPECT_TRUE(std::any_of(info.defaults.begin(), info.defaults.end(), matches))
                << name << " read with a default the settings table does not give";
            return;
        }
        ADD_FAILURE() << name << " is not in the settings table";
    }
};

}  // namespace cindral::test
