#include <windows.h>

#include "support/file_attributes.h"

namespace cindral::test {

bool setReadOnly(Sandbox& /*sandbox*/, const std::string& windowsPath, bool readOnly) {
    const DWORD attributes = GetFileAttributesA(windowsPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD wanted = readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                                  : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return SetFileAttributesA(windowsPath.c_str(), wanted) != FALSE;
}

bool makeSizedFile(Sandbox& /*sandbox*/, const std::string& windowsPath, std::uint64_t size) {
    HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    bool ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    ok = CloseHandle(file) && ok;
    return ok;
}

}  // namespace cindral::test
