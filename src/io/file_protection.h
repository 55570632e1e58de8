// Windows: the protection of a file that is replaced goes to its successor, as
// ReplaceFileW would give it, without that call's failure modes.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <memory>
#include <vector>

#include "io/system_text.h"

// The access list (DACL) of an existing file, as a description to create its
// successor with. Given at creation, not set afterwards: Wine maps a list set
// on a file to mode 0775 whatever it holds, while one given at creation keeps
// others out where the file kept them out (0600 becomes 0750).
struct FileProtection {
  FileProtection() = default;
  FileProtection(const FileProtection&) = delete;
  FileProtection& operator=(const FileProtection&) = delete;

  struct Free {
    void operator()(void* memory) const { LocalFree(memory); }
  };
  std::unique_ptr<void, Free> taken;        // the file's own description
  std::vector<unsigned char> explicitList;  // its list less what it inherited
  SECURITY_DESCRIPTOR description = {};
  SECURITY_ATTRIBUTES attributes = {};
};

// Takes the protection of the file at path into protection.attributes: its list
// as it is where it inherits nothing, else its own entries, to which the folder
// adds what it passes on. False with the system's error set.
bool TakeProtection(const std::wstring& path, FileProtection& protection);
#endif
