#include "cli/settings_command.h"

#include <ostream>
#include <utility>

#include "settings/outside_entries.h"
#include "settings/settings_store.h"

namespace cindral::cli {

using settings::SettingInfo;
using settings::ValueType;

namespace {

constexpr char kNotNumber[] = " [stored value is not a REG_DWORD of 4 bytes]";
constexpr char kNotText[] = " [stored value is not a REG_SZ]";

bool isUsable(const platform::RegValue& value, ValueType type) {
    if (type == ValueType::Number)
        return value.type == platform::kRegDword && value.data.size() == 4;
    return value.type == platform::kRegSz;
}

std::string defaultText(const settings::ReaderDefault& d, ValueType type) {
    return type == ValueType::Number ? std::to_string(d.number) : quoteText(d.text);
}

std::string defaultsText(const SettingInfo& info) {
    if (info.defaults.empty()) return "(not set)";
    if (info.defaults.size() == 1 && info.defaults[0].readers.empty())
        return defaultText(info.defaults[0], info.type) + " (default)";
    std::string text;
    for (const auto& d : info.defaults) {
        if (!text.empty()) text += "; ";
        text += defaultText(d, info.type) + " (default for " + d.readers + ")";
    }
    return text;
}

void writeSetting(const settings::SettingsStore& store, const SettingInfo& info,
                  std::ostream& out) {
    out << info.name << " = ";
    platform::RegValue raw;
    if (!store.queryRaw(info.name, raw)) {
        out << defaultsText(info) << "\n";
    } else if (!isUsable(raw, info.type)) {
        out << defaultsText(info) << (info.type == ValueType::Number ? kNotNumber : kNotText)
            << "\n";
    } else if (info.type == ValueType::Number) {
        out << store.read(settings::NumberSetting{info.name.c_str(), 0}) << "\n";
    } else {
        out << quoteText(store.read(settings::TextSetting{info.name.c_str(), ""})) << "\n";
    }
}

// The outside entries have no default: absent means "(not set)".
void writeOutsideEntry(const std::string& label, bool exists, const platform::RegValue& raw,
                       std::ostream& out) {
    out << label << " = ";
    if (!exists) {
        out << "(not set)\n";
    } else if (raw.type != platform::kRegSz) {
        out << "(set)" << kNotText << "\n";
    } else {
        out << quoteText(raw.data.substr(0, raw.data.find('\0'))) << "\n";
    }
}

int runSettings(CommandContext& ctx) {
    if (!ctx.args.positional().empty()) return usageError(ctx.err, "settings takes no arguments");
    if (!ctx.platform || !ctx.platform->registry) {
        ctx.err << kProgramName << ": no registry available\n";
        return kExitFailure;
    }
    writeSettingsListing(*ctx.platform->registry, ctx.out);
    return ctx.out.good() ? kExitOk : kExitFailure;
}

}  // namespace

std::string quoteText(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '\\':
                quoted += "\\\\";
                break;
            case '"':
                quoted += "\\\"";
                break;
            case '\r':
                quoted += "\\r";
                break;
            case '\n':
                quoted += "\\n";
                break;
            case '\t':
                quoted += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    quoted += "\\x";
                    quoted += kHex[byte >> 4];
                    quoted += kHex[byte & 0xF];
                } else {
                    quoted += c;
                }
        }
    }
    return quoted + "\"";
}

void writeSettingsListing(platform::Registry& registry, std::ostream& out) {
    const auto store = settings::SettingsStore::openForReading(registry);
    for (const auto& info : settings::settingsTable()) writeSetting(store, info, out);

    platform::RegValue raw;
    bool exists = settings::readStartWithWindows(registry, raw);
    writeOutsideEntry(
        std::string("HKCU\\") + settings::kRunKeyPath + "\\" + settings::kRunValueName, exists, raw,
        out);
    raw = platform::RegValue();
    exists = settings::readStartPage(registry, raw);
    writeOutsideEntry(std::string("HKCU\\") + settings::kBrowserMainKeyPath + "\\" +
                          settings::kStartPageValueName,
                      exists, raw, out);
}

void registerSettingsCommand(CliApp& app) {
    Command command;
    command.name = "settings";
    command.summary =
        "list every setting with its stored value, or its default when it is not stored";
    command.run = runSettings;
    app.addCommand(std::move(command));
}

}  // namespace cindral::cli
