#include <windows.h>

#include "platform/stored_text.h"
#include "platform/win32/code_page_win32.h"

namespace cindral::platform::win32 {

bool ActiveCodePageIsUtf8() { return GetACP() == CP_UTF8; }

unsigned LegacyAnsiCodePage() {
    // The system locale's code page, not GetACP: under the manifest's UTF-8
    // code page GetACP answers 65001.
    DWORD page = 0;
    if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(WCHAR)))
        return 0;
    return page == CP_UTF8 ? 0 : page;
}

std::string ConvertCodePage(std::string_view bytes, unsigned from, unsigned to) {
    if (bytes.empty()) return std::string();
    const int length = static_cast<int>(bytes.size());
    const int wide = MultiByteToWideChar(from, 0, bytes.data(), length, nullptr, 0);
    if (wide <= 0) return std::string(bytes);
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(from, 0, bytes.data(), length, &text[0], wide);
    const int narrow = WideCharToMultiByte(to, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return std::string(bytes);
    std::string out(static_cast<std::size_t>(narrow), '\0');
    WideCharToMultiByte(to, 0, text.data(), wide, &out[0], narrow, nullptr, nullptr);
    return out;
}

bool ToActiveCodePage(const std::wstring& wide, std::string& text) {
    text.clear();
    if (wide.empty()) return true;
    const int length = static_cast<int>(wide.size());
    const int narrow =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (narrow <= 0) return false;
    std::string out(static_cast<std::size_t>(narrow), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &out[0], narrow, nullptr, nullptr) !=
        narrow)
        return false;
    // Read back, the text must give the very characters it came from.
    if (MultiByteToWideChar(CP_ACP, 0, out.data(), narrow, nullptr, 0) != length) return false;
    std::wstring back(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, out.data(), narrow, &back[0], length);
    if (back != wide) return false;
    text.swap(out);
    return true;
}

std::string StoredText(std::string bytes) {
    if (!ActiveCodePageIsUtf8()) return bytes;
    const unsigned legacy = LegacyAnsiCodePage();
    if (legacy == 0) return bytes;
    return StoredTextAsUtf8(std::move(bytes), [legacy](std::string_view b) {
        return ConvertCodePage(b, legacy, CP_UTF8);
    });
}

}  // namespace cindral::platform::win32
