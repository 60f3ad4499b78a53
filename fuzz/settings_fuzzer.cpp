// Settings values as the store holds them: the input is the REGEDIT4 store;
// every setting is read, "LastDate" and the hotkeys included, and the
// start-up decisions are taken from them.
#include "app/startup.h"
#include "fuzz_platform.h"
#include "settings/settings_store.h"
#include "settings/shortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace cindral;
    const std::string store(reinterpret_cast<const char*>(data), size);
    auto posix = fuzz::makePlatform(&store);
    settings::SettingsStore s =
        settings::SettingsStore::openForReading(*posix->platform().registry);
    for (const auto& info : settings::settingsTable()) {
        platform::RegValue raw;
        s.queryRaw(info.name, raw);
        if (info.type == settings::ValueType::Number) {
            s.read(settings::NumberSetting{info.name.c_str(), 0});
        } else {
            settings::Shortcut shortcut;
            settings::textToShortcut(s.read(settings::TextSetting{info.name.c_str(), ""}),
                                     shortcut);
        }
    }
    app::DecideStartup(s, {"-s", "-m"});
    return 0;
}
