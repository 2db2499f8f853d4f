#include "fill/sample_line.h"

#include "fill/input_file.h"

namespace nodra {

namespace {
// Far beyond any line the parsers take whole; a file of one huge line must not be read into memory.
constexpr std::size_t kSampleMax = 1 << 16;
}  // namespace

std::optional<std::string> readSampleLine(const FilePlace& file, FileError& error) {
  // Read as the fill reads it, so a UTF-8 list shows its names as they will reach the terminal.
  InputFile in;
  if (!in.open(file, error)) return std::nullopt;
  std::string_view piece;
  std::string line;
  if (in.readLine(kSampleMax, piece)) line.assign(piece);
  if (in.failed()) {
    error.set(FileTrouble::System, file.displayText(), in.readError());
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\n') line.pop_back();
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace nodra
