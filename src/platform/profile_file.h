#pragma once
// Single-key access to an INI file, as the Windows profile service gives it: no cache, every read looks the
// key up in the file, every write changes or appends that one line and replaces the file atomically.
// Lines the program does not touch stay byte for byte. Sections, keys and values are Windows-1250 text.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/file_place.h"

namespace nodra {

// "Unable to write to %s": the write could not be done and the file is as it was. The cause, when known,
// follows on a line of its own ("Dôvod: ...").
class WriteError : public std::runtime_error {
 public:
  explicit WriteError(const std::string& fileText, const std::string& cause = {});
};

class ProfileFile {
 public:
  // A file that may not be created (the terminal's own settings) fails the write when it is missing.
  enum class Creation { MayCreate, MustExist };
  explicit ProfileFile(FilePlace place, Creation creation = Creation::MayCreate);
  // A file on the PC; `displayName` is the Windows-1250 name used in the error text.
  ProfileFile(std::filesystem::path file, std::string displayName, bool mayCreate = true);

  std::string readString(std::string_view section, std::string_view key, std::string_view fallback) const;
  int readInteger(std::string_view section, std::string_view key, int fallback) const;
  bool readBool(std::string_view section, std::string_view key, bool fallback) const;

  // Throw WriteError when the file cannot be written.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, int value);
  void writeBool(std::string_view section, std::string_view key, bool value);

  const FilePlace& place() const { return place_; }
  const std::string& displayName() const { return displayName_; }

 private:
  FilePlace place_;
  std::string displayName_;
  bool mayCreate_;
};

namespace profile_text {
// The pure text operations behind ProfileFile, exposed for tests.
// Finds the value the way the profile service reads it; false when the key is absent.
bool find(std::string_view content, std::string_view section, std::string_view key, std::string& value);
// The content after setting one key; returns the content unchanged when the key already holds the value.
std::string set(std::string_view content, std::string_view section, std::string_view key, std::string_view value);
}  // namespace profile_text

}  // namespace nodra
