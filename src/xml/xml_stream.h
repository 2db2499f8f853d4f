#pragma once
// An XML document written to its file as it is built, so memory does not grow with it. The bytes are those
// a DOM saves without declaration and without indentation (pugixml's format_raw | format_no_declaration):
// no whitespace between elements, an element without content as <X/>, text escaped as &amp; &lt; &gt;.
// Element names are literals: they are held by view until their element is closed.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/atomic_file.h"

namespace nodra {

// The ready bytes of one element name, for elements written many times over.
struct XmlTag {
  explicit XmlTag(std::string_view name)
      : start("<" + std::string(name) + ">"),
        end("</" + std::string(name) + ">"),
        empty("<" + std::string(name) + "/>") {}
  std::string start;
  std::string end;
  std::string empty;
};

// The longest expansion of one byte: "&amp;".
inline constexpr std::size_t kXmlMaxEscapedLength = 5;

// The room XmlStream::element(tag, content) asks for: its tags and the longest escaping of its content.
inline std::size_t elementRoom(const XmlTag& tag, std::string_view content) {
  return content.empty() ? tag.empty.size() : tag.start.size() + kXmlMaxEscapedLength * content.size() + tag.end.size();
}

class XmlStream {
 public:
  XmlStream();
  XmlStream(const XmlStream&) = delete;
  XmlStream& operator=(const XmlStream&) = delete;
  ~XmlStream();

  // The file replaces an existing one only when finish() succeeds; until then the old one stays.
  bool create(const FilePlace& file, FileError& error);
  bool create(const FilePlace& file) {
    FileError ignored;
    return create(file, ignored);
  }

  void open(std::string_view name);
  void text(std::string_view content);  // nothing for an empty text: the element stays empty
  void close();
  void element(std::string_view name, std::string_view content) {
    open(name);
    text(content);
    close();
  }
  // The same for a name prepared in advance; these need no close(). start/end for an element with content.
  void element(const XmlTag& tag, std::string_view content);
  void start(const XmlTag& tag);
  void end(const XmlTag& tag);

  // Keeps what the next writes put, up to `size` bytes of room asked for (each element asks for its tags and
  // five bytes for each of its characters), in the buffer for writtenSince(): flushes first if the buffer has
  // less room. Returns the mark to give writtenSince(). size <= 64 KiB.
  std::size_t hold(std::size_t size);
  std::string_view writtenSince(std::size_t mark) const;
  // Bytes written before by a stream like this one, escaping and all.
  void raw(std::string_view bytes);

  // Writes what is buffered and puts the file in place. False when any write failed; the previous file then stays.
  bool finish(FileError& error);
  bool finish() {
    FileError ignored;
    return finish(ignored);
  }
  // Drops the document: one cut short must not pass for a complete one, nor take the place of the last.
  void abandon();
  // A write has failed already: finish() will fail.
  bool failed() const { return failed_; }

 private:
  void finishStartTag();
  // Room for `size` bytes at the write position, the buffer flushed first when needed; size <= kBufferSize.
  char* room(std::size_t size);
  void put(std::string_view bytes);
  void putEscaped(std::string_view text);
  void flush();
  void writeOut(const char* data, std::size_t size);

  AtomicFileWriter file_;
  FileError error_;
  bool failed_ = false;
  bool startTagOpen_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::size_t flushes_ = 0;
  std::size_t heldFlushes_ = 0;  // flushes_ at the last hold()
  std::vector<std::string_view> openElements_;
};

}  // namespace nodra
