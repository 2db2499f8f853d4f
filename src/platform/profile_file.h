#pragma once
// Single-key access to an INI file, as the Windows profile service gives it: every read looks the key up in
// what the file holds, every write changes or appends that one line and replaces the file atomically. Lines
// the program does not touch stay byte for byte. Sections, keys and values are Windows-1250 text.
//
// One object serves one operation (a load, a save, a read of the terminal's settings): the file is read once,
// when first needed, and the object's own writes keep that copy current, so a file of any size costs one
// read however many keys the operation reads. The program is the only one writing while it runs.
#include <filesystem>
#include <map>
#include <optional>
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

namespace profile_text {

// Where a write of one key lands in a content.
struct Location {
  enum class Kind { Key, AfterAnchor, NewSection } kind = Kind::NewSection;
  std::size_t begin = 0;    // the line: the key's own, or the last one after which a new key goes
  std::size_t textEnd = 0;  // where its line end begins
  std::size_t end = 0;      // after its line end
  std::string name;         // Key: the key as the file spells it
};

// What the reads and writes of one content find, looked up without scanning the content again.
class Index {
 public:
  explicit Index(std::string_view content);
  bool find(std::string_view section, std::string_view key, std::string& value) const;
  Location locate(std::string_view section, std::string_view key) const;

 private:
  struct KeyLine {
    Location where;
    std::string value;
  };
  std::map<std::string, Location, std::less<>> sections_;  // lower-case name: its anchor line
  std::map<std::string, KeyLine, std::less<>> keys_;       // lower-case "section\nkey"
};

}  // namespace profile_text

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
  struct Snapshot {
    bool loaded = false;
    bool exists = false;
    FileError error;  // why the file could not be read, when it exists
    std::string content;
    std::optional<profile_text::Index> index;
  };
  Snapshot& snapshot() const;

  FilePlace place_;
  std::string displayName_;
  bool mayCreate_;
  mutable Snapshot snapshot_;
};

namespace profile_text {
// The pure text operations behind ProfileFile, exposed for tests.
// Finds the value the way the profile service reads it; false when the key is absent.
bool find(std::string_view content, std::string_view section, std::string_view key, std::string& value);
// The content after setting one key; returns the content unchanged when the key already holds the value.
std::string set(std::string_view content, std::string_view section, std::string_view key, std::string_view value);
// The same, for a key already located in the content.
std::string apply(std::string_view content, const Location& where, std::string_view section, std::string_view key,
                  std::string_view value);
}  // namespace profile_text

}  // namespace nodra
