// Inputs: only regular files are read, and a link to one reads as that file.
// FIFOs, devices and folders are refused at once, never waited on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Which file a name stands for: device and inode, or on Windows the volume's
// serial number and the file index (so that names differing in case or by a
// link still match).
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
};

struct InputFile {
  std::string content;    // the first bytes of the file, at most the limit asked for
  bool more = false;      // the file holds more than the limit
  FileIdentity identity;
  std::string reason;     // why it could not be read, in the system's words
};

// Reads the first limit bytes of a regular file; false with file.reason otherwise.
bool ReadRegularFile(const std::string& path, std::size_t limit, InputFile& file);

// The identity of the file a name stands for; false when it names none (yet).
bool IdentityOf(const std::string& path, FileIdentity& identity);

// Whether the name stands for a folder.
bool IsFolder(const std::string& path);

// The regular files in a folder (links to them included), their paths sorted by
// name; false with reason when the folder cannot be listed.
bool ListRegularFiles(const std::string& folder, std::vector<std::string>& paths, std::string& reason);
