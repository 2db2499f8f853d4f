#include "fill/sample_line.h"

#include <unistd.h>

#include <cerrno>

namespace nodra {

namespace {
// Far beyond any line the parsers take whole; a file of one huge line must not be read into memory.
constexpr std::size_t kSampleMax = 1 << 16;
}  // namespace

std::optional<std::string> readSampleLine(const FilePlace& file, FileError& error) {
  UniqueFd fd = openForReading(file, error);
  if (!fd) return std::nullopt;
  std::string line;
  char chunk[4096];
  while (line.size() < kSampleMax) {
    ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error.set(FileTrouble::System, file.displayText(), errno);
      return std::nullopt;
    }
    if (n == 0) break;
    const std::string_view piece(chunk, static_cast<std::size_t>(n));
    const std::size_t lf = piece.find('\n');
    line.append(piece.substr(0, lf));
    if (lf != std::string_view::npos) break;
  }
  if (line.size() > kSampleMax) line.resize(kSampleMax);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace nodra
