#include "io/file_protection.h"

#ifdef _WIN32
#include <aclapi.h>

namespace {

// The entries of list that it did not inherit, as a list of their own.
bool ExplicitEntries(const ACL& list, std::vector<unsigned char>& own) {
  own.assign(list.AclSize, 0);
  auto* result = reinterpret_cast<PACL>(own.data());
  if (!InitializeAcl(result, list.AclSize, list.AclRevision)) return false;
  for (DWORD i = 0; i < list.AceCount; ++i) {
    ACE_HEADER* entry = nullptr;
    if (!GetAce(const_cast<PACL>(&list), i, reinterpret_cast<void**>(&entry))) return false;
    if ((entry->AceFlags & INHERITED_ACE) == 0 && !AddAce(result, list.AclRevision, MAXDWORD, entry, entry->AceSize)) {
      return false;
    }
  }
  return true;
}

bool InheritsAny(const ACL& list) {
  for (DWORD i = 0; i < list.AceCount; ++i) {
    ACE_HEADER* entry = nullptr;
    if (GetAce(const_cast<PACL>(&list), i, reinterpret_cast<void**>(&entry)) && (entry->AceFlags & INHERITED_ACE) != 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool TakeProtection(const std::wstring& path, FileProtection& protection) {
  // Opened sharing everything, so that readers and other writers are not refused.
  const HANDLE file = CreateFileW(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  PSECURITY_DESCRIPTOR taken = nullptr;
  PACL list = nullptr;
  const DWORD error =
      GetSecurityInfo(file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list, nullptr, &taken);
  CloseHandle(file);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return false;
  }
  protection.taken.reset(taken);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  if (!GetSecurityDescriptorControl(taken, &control, &revision)) return false;
  // A list that inherits nothing (Wine makes such a list of a file's mode) is
  // kept whole: taking the folder's entries would widen it.
  const bool whole = list == nullptr || (control & SE_DACL_PROTECTED) != 0 || !InheritsAny(*list);
  if (!whole) {
    if (!ExplicitEntries(*list, protection.explicitList)) return false;
    list = reinterpret_cast<PACL>(protection.explicitList.data());
  }
  SECURITY_DESCRIPTOR& description = protection.description;
  if (!InitializeSecurityDescriptor(&description, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&description, TRUE, list, FALSE) ||
      !SetSecurityDescriptorControl(&description, SE_DACL_PROTECTED, whole ? SE_DACL_PROTECTED : 0)) {
    return false;
  }
  protection.attributes = {sizeof protection.attributes, &description, FALSE};
  return true;
}
#endif
