#include <gtest/gtest.h>

#include "platform/registry.h"

// Placeholder removed once the conformance suite lands.
TEST(RegistryHelpers, NoKeyGivesDefaults) {
    struct NullRegistry : cindral::platform::Registry {
        cindral::platform::RegKey root(cindral::platform::RootKey) override { return 0; }
        cindral::platform::RegKey createKey(cindral::platform::RegKey, const std::string&) override { return 0; }
        cindral::platform::RegKey openKey(cindral::platform::RegKey, const std::string&, std::uint32_t) override { return 0; }
        void closeKey(cindral::platform::RegKey) override {}
        bool subkeyNames(cindral::platform::RegKey, std::vector<std::string>&) override { return false; }
        bool valueNames(cindral::platform::RegKey, std::vector<std::string>&) override { return false; }
        bool queryValue(cindral::platform::RegKey, const std::string&, cindral::platform::RegValue&) override { return false; }
        bool setValue(cindral::platform::RegKey, const std::string&, std::uint32_t, const std::string&) override { return false; }
        bool deleteValue(cindral::platform::RegKey, const std::string&) override { return false; }
        bool deleteKey(cindral::platform::RegKey, const std::string&) override { return false; }
    } reg;
    EXPECT_EQ(cindral::platform::readNumber(reg, 0, "x", 7u), 7u);
    EXPECT_EQ(cindral::platform::readText(reg, 0, "x", "d"), "d");
    EXPECT_FALSE(cindral::platform::writeText(reg, 0, "x", "v"));
}
