#include "xml/xml_stream.h"

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/short_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nodra {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
// Elements up to this size are written in one piece.
constexpr std::size_t kShortElement = 1024;

char* escapeInto(char* out, std::string_view text);
}  // namespace

XmlStream::XmlStream() : buffer_(new char[kBufferSize]) {}

XmlStream::~XmlStream() = default;

bool XmlStream::create(const FilePlace& file, FileError& error) {
  error_ = {};
  failed_ = !file_.open(file, error);
  return !failed_;
}

void XmlStream::open(std::string_view name) {
  finishStartTag();
  put("<");
  put(name);
  startTagOpen_ = true;
  openElements_.push_back(name);
}

void XmlStream::text(std::string_view content) {
  if (content.empty()) return;
  finishStartTag();
  // Escaped in pieces that surely fit the buffer.
  constexpr std::size_t kPiece = kBufferSize / kXmlMaxEscapedLength;
  while (content.size() > kPiece) {
    putEscaped(content.substr(0, kPiece));
    content.remove_prefix(kPiece);
  }
  putEscaped(content);
}

char* XmlStream::room(std::size_t size) {
  if (size > kBufferSize - used_) flush();
  return buffer_.get() + used_;
}

void XmlStream::element(const XmlTag& tag, std::string_view content) {
  finishStartTag();
  if (content.empty()) {
    put(tag.empty);
    return;
  }
  // The usual short text goes in one piece with its tags.
  const std::size_t size = elementRoom(tag, content);
  if (size > kShortElement) {
    put(tag.start);
    text(content);
    put(tag.end);
    return;
  }
  char* out = copyShort(room(size), tag.start);
  out = escapeInto(out, content);
  out = copyShort(out, tag.end);
  used_ = static_cast<std::size_t>(out - buffer_.get());
}

void XmlStream::start(const XmlTag& tag) {
  finishStartTag();
  put(tag.start);
}

void XmlStream::end(const XmlTag& tag) { put(tag.end); }

std::size_t XmlStream::hold(std::size_t size) {
  finishStartTag();
  if (size > kBufferSize - used_) flush();
  heldFlushes_ = flushes_;
  return used_;
}

std::string_view XmlStream::writtenSince(std::size_t mark) const {
  // A flush since the hold would have taken the first part away: the hold asked for too little.
  assert(flushes_ == heldFlushes_ && mark <= used_);
  return {buffer_.get() + mark, used_ - mark};
}

void XmlStream::raw(std::string_view bytes) {
  finishStartTag();
  put(bytes);
}

void XmlStream::close() {
  if (openElements_.empty()) return;
  if (startTagOpen_) {
    put("/>");
    startTagOpen_ = false;
  } else {
    put("</");
    put(openElements_.back());
    put(">");
  }
  openElements_.pop_back();
}

void XmlStream::finishStartTag() {
  if (!startTagOpen_) return;
  put(">");
  startTagOpen_ = false;
}

void XmlStream::put(std::string_view bytes) {
  if (bytes.size() > kBufferSize - used_) {
    flush();
    if (bytes.size() > kBufferSize) {
      writeOut(bytes.data(), bytes.size());
      return;
    }
  }
  used_ = static_cast<std::size_t>(copyShort(buffer_.get() + used_, bytes) - buffer_.get());
}

namespace {

// Whether any byte of the word is one of the three that need escaping. Exact for any bytes: a byte is found
// only where the word holds it.
bool hasSpecialByte(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  auto has = [word](unsigned char b) {
    const std::uint64_t x = word ^ (kOnes * b);
    return ((x - kOnes) & ~x & kHighs) != 0;
  };
  return has('&') || has('<') || has('>');
}

#if defined(__SSE2__)
bool hasSpecialByte(__m128i bytes) {
  const __m128i found =
      _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('&')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('<'))),
                   _mm_cmpeq_epi8(bytes, _mm_set1_epi8('>')));
  return _mm_movemask_epi8(found) != 0;
}
#endif

// Whether any byte of the text needs escaping, sixteen (or eight) at a time; the last block may overlap the one
// before. Nothing past the text is read.
bool hasSpecialBytes(std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
#if defined(__SSE2__)
  const auto load16 = [](const char* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
  if (n >= 16) {
    for (std::size_t i = 0; i + 16 < n; i += 16) {
      if (hasSpecialByte(load16(p + i))) return true;
    }
    return hasSpecialByte(load16(p + n - 16));
  }
  if (n >= 8) {
    // The first eight and the last eight, side by side.
    const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    const __m128i last = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + n - 8));
    return hasSpecialByte(_mm_unpacklo_epi64(first, last));
  }
#endif
  std::uint64_t word = 0;
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8) {
      std::memcpy(&word, p + i, 8);
      if (hasSpecialByte(word)) return true;
    }
    std::memcpy(&word, p + n - 8, 8);
  } else if (n >= 4) {
    std::uint32_t first;
    std::uint32_t last;
    std::memcpy(&first, p, 4);
    std::memcpy(&last, p + n - 4, 4);
    word = first | std::uint64_t{last} << 32;
  } else if (n > 0) {
    word = static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[n / 2]) << 8 |
           static_cast<unsigned char>(p[n - 1]) << 16;
  }
#if defined(__SSE2__)
  return hasSpecialByte(_mm_cvtsi64_si128(static_cast<long long>(word)));
#else
  return hasSpecialByte(word);
#endif
}

// Room for kXmlMaxEscapedLength bytes per byte of the text.
char* escapeInto(char* out, std::string_view text) {
  if (!hasSpecialBytes(text)) return copyShort(out, text);
  const char* in = text.data();
  const char* const end = in + text.size();
  // Eight bytes at a time while there is nothing to escape.
  while (end - in >= 8) {
    std::uint64_t word;
    std::memcpy(&word, in, 8);
    if (hasSpecialByte(word)) break;
    std::memcpy(out, in, 8);
    in += 8;
    out += 8;
  }
  for (; in < end; ++in) {
    switch (*in) {
      case '&':
        std::memcpy(out, "&amp;", 5);
        out += 5;
        break;
      case '<':
        std::memcpy(out, "&lt;", 4);
        out += 4;
        break;
      case '>':
        std::memcpy(out, "&gt;", 4);
        out += 4;
        break;
      default: *out++ = *in;
    }
  }
  return out;
}

}  // namespace

void XmlStream::putEscaped(std::string_view text) {
  if (text.size() * kXmlMaxEscapedLength > kBufferSize - used_) flush();
  used_ = static_cast<std::size_t>(escapeInto(buffer_.get() + used_, text) - buffer_.get());
}

void XmlStream::flush() {
  ++flushes_;
  writeOut(buffer_.get(), used_);
  used_ = 0;
}

void XmlStream::writeOut(const char* data, std::size_t size) {
  if (!failed_ && size > 0) failed_ = !file_.write(std::string_view(data, size), error_);
}

bool XmlStream::finish(FileError& error) {
  flush();
  if (!failed_) failed_ = !file_.commit(error_);
  error = error_;
  file_.discard();
  return !failed_;
}

void XmlStream::abandon() {
  used_ = 0;
  file_.discard();
}

}  // namespace nodra
