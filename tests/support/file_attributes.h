// Test set-up helpers for file states the sandbox's own helpers do not make:
// the read-only attribute and large files. They bypass the backend under
// test (Win32 calls on Windows, plain system calls on Linux).
#pragma once

#include <cstdint>
#include <string>

#include "support/sandbox.h"

namespace cindral::test {

// Sets or clears the read-only attribute (on Linux: the owner's write
// permission, which is what the posix backend reports as read-only).
bool setReadOnly(Sandbox& sandbox, const std::string& windowsPath, bool readOnly);

// Creates a file of `size` bytes without writing them (a sparse file where
// the file system has them).
bool makeSizedFile(Sandbox& sandbox, const std::string& windowsPath, std::uint64_t size);

}  // namespace cindral::test
