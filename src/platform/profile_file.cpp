#include "platform/profile_file.h"

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

// The lines that hold anything, one after the other, without keeping them: blank lines carry nothing a read or
// a write looks at, so runs of them are passed over in one sweep and a file of millions costs no memory.
class Lines {
 public:
  explicit Lines(std::string_view content) : content_(content) {}
  bool next(Line& line) {
    const std::size_t n = content_.size();
    std::size_t start = pos_;
    std::size_t i = pos_;
    while (i < n) {
      const char c = content_[i];
      if (c == '\n' || c == '\r') {
        ++i;
        if (c == '\r' && i < n && content_[i] == '\n') ++i;
        start = i;
      } else if (c == ' ' || c == '\t') {
        ++i;
      } else {
        break;
      }
    }
    if (i >= n) {
      pos_ = n;
      return false;
    }
    std::size_t textEnd = content_.find_first_of("\r\n", i);
    if (textEnd == std::string_view::npos) textEnd = n;
    std::size_t end = textEnd < n ? textEnd + 1 : textEnd;
    if (textEnd < n && content_[textEnd] == '\r' && end < n && content_[end] == '\n') ++end;
    line = {start, textEnd, end};
    pos_ = end;
    return true;
  }

 private:
  std::string_view content_;
  std::size_t pos_ = 0;
};

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

Parsed parse(std::string_view content, const Line& line) {
  return parse(content.substr(line.begin, line.textEnd - line.begin));
}

std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lower(c);
  return out;
}

}  // namespace

bool find(std::string_view content, std::string_view section, std::string_view key, std::string& value) {
  Lines lines(content);
  Line line{};
  // Only the first section of that name counts, and in it the first line of the key.
  bool inSection = false;
  while (lines.next(line)) {
    Parsed p = parse(content, line);
    if (p.kind == Kind::Section) {
      if (inSection) return false;
      inSection = sameName(p.name, section);
    } else if (inSection && p.kind == Kind::Key && sameName(p.name, key)) {
      value = std::string(unquote(p.value));
      return true;
    }
  }
  return false;
}

std::string apply(std::string_view content, const Location& where, std::string_view section, std::string_view key,
                  std::string_view value) {
  std::string out;
  switch (where.kind) {
    case Location::Kind::Key: {
      // The file's own spelling of the key stays; only the value changes.
      std::string replacement = where.name + "=" + std::string(value);
      std::string_view lineText = content.substr(where.begin, where.textEnd - where.begin);
      const bool hasEnd = where.end > where.textEnd;
      if (lineText == replacement && hasEnd) return std::string(content);
      out.reserve(content.size() + value.size() + 2);
      out.append(content.substr(0, where.begin));
      out.append(replacement);
      out.append(hasEnd ? content.substr(where.textEnd, where.end - where.textEnd) : "\r\n");
      out.append(content.substr(where.end));
      return out;
    }
    case Location::Kind::AfterAnchor:
      out.reserve(content.size() + key.size() + value.size() + 5);
      out.append(content.substr(0, where.end));
      if (where.end == where.textEnd) out.append("\r\n");
      out.append(key).append("=").append(value).append("\r\n");
      out.append(content.substr(where.end));
      return out;
    case Location::Kind::NewSection:
      out.reserve(content.size() + section.size() + key.size() + value.size() + 8);
      out.append(content);
      if (!content.empty() && content.back() != '\n' && content.back() != '\r') out.append("\r\n");
      out.append("[").append(section).append("]\r\n");
      out.append(key).append("=").append(value).append("\r\n");
      return out;
  }
  return std::string(content);
}

std::string set(std::string_view content, std::string_view section, std::string_view key, std::string_view value) {
  Lines lines(content);
  Line line{};
  bool seen = false;    // the first section of that name was found
  bool inside = false;  // and the scan is in it
  Location where;
  while (lines.next(line)) {
    Parsed p = parse(content, line);
    if (p.kind == Kind::Section) {
      if (inside) break;
      if (!seen && sameName(p.name, section)) {
        seen = inside = true;
        where = {Location::Kind::AfterAnchor, line.begin, line.textEnd, line.end, {}};
      }
      continue;
    }
    if (!inside) continue;
    if (p.kind == Kind::Key && sameName(p.name, key)) {
      where = {Location::Kind::Key, line.begin, line.textEnd, line.end, std::string(p.name)};
      break;
    }
    if (p.kind == Kind::Key || p.kind == Kind::Other)
      where = {Location::Kind::AfterAnchor, line.begin, line.textEnd, line.end, {}};
  }
  return apply(content, where, section, key, value);
}

Index::Index(std::string_view content) {
  Lines lines(content);
  Line line{};
  Location* anchor = nullptr;  // of the section being read, when it is the first of its name
  std::string section;
  while (lines.next(line)) {
    Parsed p = parse(content, line);
    if (p.kind == Kind::Section) {
      section = lowered(p.name);
      // A second section of a name already seen is never searched.
      auto [it, first] = sections_.try_emplace(section);
      anchor = first ? &it->second : nullptr;
      if (anchor) *anchor = {Location::Kind::AfterAnchor, line.begin, line.textEnd, line.end, {}};
      continue;
    }
    if (anchor == nullptr) continue;
    if (p.kind == Kind::Key) {
      keys_.try_emplace(section + '\n' + lowered(p.name),
                        KeyLine{{Location::Kind::Key, line.begin, line.textEnd, line.end, std::string(p.name)},
                                std::string(unquote(p.value))});
    }
    if (p.kind == Kind::Key || p.kind == Kind::Other) {
      *anchor = {Location::Kind::AfterAnchor, line.begin, line.textEnd, line.end, {}};
    }
  }
}

bool Index::find(std::string_view section, std::string_view key, std::string& value) const {
  auto it = keys_.find(lowered(section) + '\n' + lowered(key));
  if (it == keys_.end()) return false;
  value = it->second.value;
  return true;
}

Location Index::locate(std::string_view section, std::string_view key) const {
  const std::string s = lowered(section);
  if (auto k = keys_.find(s + '\n' + lowered(key)); k != keys_.end()) return k->second.where;
  if (auto a = sections_.find(s); a != sections_.end()) return a->second;
  return {};
}

}  // namespace profile_text

ProfileFile::ProfileFile(FilePlace place, Creation creation)
    : place_(std::move(place)), displayName_(place_.displayText()), mayCreate_(creation == Creation::MayCreate) {}

ProfileFile::ProfileFile(fs::path file, std::string displayName, bool mayCreate)
    : place_(FilePlace::onPc(std::move(file))), displayName_(std::move(displayName)), mayCreate_(mayCreate) {}

ProfileFile::Snapshot& ProfileFile::snapshot() const {
  if (!snapshot_.loaded) {
    snapshot_.loaded = true;
    FileError error;
    snapshot_.exists = readWholeFile(place_, snapshot_.content, error);
    // A file that cannot be read to its end reads as empty, as a missing one does.
    if (!snapshot_.exists && error.trouble != FileTrouble::Missing) {
      snapshot_.exists = true;
      snapshot_.error = error;
      snapshot_.content.clear();
    }
  }
  if (!snapshot_.index) snapshot_.index.emplace(snapshot_.content);
  return snapshot_;
}

std::string ProfileFile::readString(std::string_view section, std::string_view key, std::string_view fallback) const {
  std::string value;
  if (snapshot().index->find(section, key, value)) return value;
  return std::string(fallback);
}

int ProfileFile::readInteger(std::string_view section, std::string_view key, int fallback) const {
  std::string value;
  if (!snapshot().index->find(section, key, value)) return fallback;
  return parseInteger(value).value_or(fallback);
}

bool ProfileFile::readBool(std::string_view section, std::string_view key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break or NUL in a value would change the file's structure.
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) throw WriteError(displayName_);
  Snapshot& file = snapshot();
  // A file that cannot be read whole cannot be rewritten without losing what was not read.
  if (file.error.failed()) throw WriteError(displayName_, reasonText(file.error));
  FileError error;
  if (!file.exists && !mayCreate_) {
    error.set(FileTrouble::Missing, displayName_);
    throw WriteError(displayName_, reasonText(error));
  }
  std::string after = profile_text::apply(file.content, file.index->locate(section, key), section, key, value);
  if (file.exists && after == file.content) {
    // Nothing changes, but a write to a protected file must still fail as it would have.
    if (!isWritable(place_, error)) throw WriteError(displayName_, reasonText(error));
    return;
  }
  if (!replaceFile(place_, after, error)) throw WriteError(displayName_, reasonText(error));
  file.content = std::move(after);
  file.exists = true;
  file.index.reset();
}

void ProfileFile::writeInteger(std::string_view section, std::string_view key, int value) {
  writeString(section, key, intToText(value));
}

void ProfileFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

}  // namespace nodra
