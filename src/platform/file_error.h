#pragma once
// Why a file could not be opened, read or written, in words the user can act on. Texts are Windows-1250.
#include <string>

namespace nodra {

enum class FileTrouble {
  None,
  Missing,      // nothing of that name (or a folder on the way is missing)
  Link,         // a symbolic link where the card must hold the thing itself
  Folder,       // a folder where a file is expected
  NotFolder,    // a file where a folder is expected
  Fifo,         // a named pipe: opening it would wait for a writer
  CharDevice,   // a character device: reading it may never end
  BlockDevice,  // a block device
  Socket,       // a socket
  HardLinked,   // a card file that shares its data with other names
  System,       // the system refused; `systemError` says why
};

struct FileError {
  FileTrouble trouble = FileTrouble::None;
  int systemError = 0;  // errno, for System
  std::string path;     // the path concerned, as the user reads it

  bool failed() const { return trouble != FileTrouble::None; }
  // Something the program never reads or writes through, whatever it points to.
  bool refused() const;
  void set(FileTrouble t, std::string shownPath, int error = 0) {
    trouble = t;
    path = std::move(shownPath);
    systemError = error;
  }
};

// The reason the system gave for `error` (an errno value), in Slovak where the program knows it.
std::string systemReasonText(int error);

// What stands at the path, or what went wrong there: "je symbolický odkaz", "neexistuje", "sa nedá použiť:
// prístup odmietnutý". Meant to follow the path in a sentence.
std::string troubleText(const FileError& error);

// Just the reason, for a message of its own: "súbor alebo priečinok neexistuje", "na médiu nie je voľné miesto".
std::string reasonText(const FileError& error);

// A message that keeps its given wording and adds the reason: "<text> (<reason>)".
std::string withReason(std::string text, const FileError& error);

// A whole sentence: "Súbor <path> je symbolický odkaz."
std::string fileErrorText(const FileError& error);

// A message that keeps its given wording and tells, below it, which file failed and why.
std::string withDetail(std::string text, const FileError& error);

}  // namespace nodra
