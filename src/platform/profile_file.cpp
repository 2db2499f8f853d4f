#include "platform/profile_file.h"

#include <vector>

#include "platform/atomic_file.h"
#include "platform/integer_text.h"

namespace nodra {
namespace fs = std::filesystem;

WriteError::WriteError(const std::string& fileText, const std::string& cause)
    : std::runtime_error("Unable to write to " + fileText +
                         (cause.empty() ? std::string() : "\r\n\r\nDôvod: " + cause + ".")) {}

namespace profile_text {
namespace {

struct Line {
  std::size_t begin;    // first byte of the line
  std::size_t textEnd;  // first byte of its line end
  std::size_t end;      // first byte after its line end
};

std::vector<Line> splitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t textEnd = content.find_first_of("\r\n", pos);
    if (textEnd == std::string_view::npos) {
      lines.push_back({pos, content.size(), content.size()});
      break;
    }
    std::size_t end = textEnd + 1;
    if (content[textEnd] == '\r' && end < content.size() && content[end] == '\n') ++end;
    lines.push_back({pos, textEnd, end});
    pos = end;
  }
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

enum class Kind { Other, Section, Key, Comment, Blank };

struct Parsed {
  Kind kind = Kind::Other;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed
};

Parsed parse(std::string_view text) {
  std::string_view t = trim(text);
  if (t.empty()) return {Kind::Blank, {}, {}};
  if (t.front() == ';') return {Kind::Comment, {}, {}};
  if (t.front() == '[') {
    std::size_t close = t.find(']');
    std::string_view name = t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    return {Kind::Section, trim(name), {}};
  }
  std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {Kind::Other, {}, {}};
  return {Kind::Key, trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

// The lines of the first section of that name: [first, last) line indexes after its header; header index too.
bool findSection(std::string_view content, const std::vector<Line>& lines, std::string_view section,
                 std::size_t& header, std::size_t& last) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Parsed p = parse(content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin));
    if (p.kind == Kind::Section && sameName(p.name, section)) {
      header = i;
      last = i + 1;
      while (last < lines.size() &&
             parse(content.substr(lines[last].begin, lines[last].textEnd - lines[last].begin)).kind != Kind::Section) {
        ++last;
      }
      return true;
    }
  }
  return false;
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

bool find(std::string_view content, std::string_view section, std::string_view key, std::string& value) {
  auto lines = splitLines(content);
  std::size_t header = 0;
  std::size_t last = 0;
  if (!findSection(content, lines, section, header, last)) return false;
  for (std::size_t i = header + 1; i < last; ++i) {
    Parsed p = parse(content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin));
    if (p.kind == Kind::Key && sameName(p.name, key)) {
      value = std::string(unquote(p.value));
      return true;
    }
  }
  return false;
}

std::string set(std::string_view content, std::string_view section, std::string_view key, std::string_view value) {
  auto lines = splitLines(content);
  std::string out;
  out.reserve(content.size() + section.size() + key.size() + value.size() + 8);
  std::size_t header = 0;
  std::size_t last = 0;
  if (!findSection(content, lines, section, header, last)) {
    out.append(content);
    if (!content.empty() && content.back() != '\n' && content.back() != '\r') out.append("\r\n");
    out.append("[").append(section).append("]\r\n");
    out.append(key).append("=").append(value).append("\r\n");
    return out;
  }
  std::size_t insertAfter = header;
  for (std::size_t i = header + 1; i < last; ++i) {
    Parsed p = parse(content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin));
    if (p.kind == Kind::Key && sameName(p.name, key)) {
      // The file's own spelling of the key stays; only the value changes.
      std::string replacement = std::string(p.name) + "=" + std::string(value);
      std::string_view lineText = content.substr(lines[i].begin, lines[i].textEnd - lines[i].begin);
      bool hasEnd = lines[i].end > lines[i].textEnd;
      if (lineText == replacement && hasEnd) return std::string(content);
      out.append(content.substr(0, lines[i].begin));
      out.append(replacement);
      out.append(hasEnd ? content.substr(lines[i].textEnd, lines[i].end - lines[i].textEnd) : "\r\n");
      out.append(content.substr(lines[i].end));
      return out;
    }
    if (p.kind == Kind::Key || p.kind == Kind::Other) insertAfter = i;
  }
  const Line& anchor = lines[insertAfter];
  out.append(content.substr(0, anchor.end));
  if (anchor.end == anchor.textEnd) out.append("\r\n");
  out.append(key).append("=").append(value).append("\r\n");
  out.append(content.substr(anchor.end));
  return out;
}

}  // namespace profile_text

namespace {

// Empty when the file is missing or cannot be read to its end (a folder, a medium failing under the read).
std::string readAll(const FilePlace& place) {
  std::string bytes;
  FileError ignored;
  readWholeFile(place, bytes, ignored);
  return bytes;
}

}  // namespace

ProfileFile::ProfileFile(FilePlace place, Creation creation)
    : place_(std::move(place)), displayName_(place_.displayText()), mayCreate_(creation == Creation::MayCreate) {}

ProfileFile::ProfileFile(fs::path file, std::string displayName, bool mayCreate)
    : place_(FilePlace::onPc(std::move(file))), displayName_(std::move(displayName)), mayCreate_(mayCreate) {}

std::string ProfileFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const {
  std::string value;
  if (profile_text::find(readAll(place_), section, key, value)) return value;
  return std::string(fallback);
}

int ProfileFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  std::string value;
  if (!profile_text::find(readAll(place_), section, key, value)) return fallback;
  return parseInteger(value).value_or(fallback);
}

bool ProfileFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break or NUL in a value would change the file's structure.
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) throw WriteError(displayName_);
  std::string before;
  FileError error;
  const bool exists = readWholeFile(place_, before, error);
  if (!exists) {
    // A file that cannot be read whole cannot be rewritten without losing what was not read.
    if (error.trouble != FileTrouble::Missing) throw WriteError(displayName_, reasonText(error));
    if (!mayCreate_) throw WriteError(displayName_, reasonText(error));
  }
  std::string after = profile_text::set(before, section, key, value);
  if (exists && after == before) {
    // Nothing changes, but a write to a protected file must still fail as it would have.
    if (!isWritable(place_, error)) throw WriteError(displayName_, reasonText(error));
    return;
  }
  if (!replaceFile(place_, after, error)) throw WriteError(displayName_, reasonText(error));
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, intToText(value));
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

}  // namespace nodra
