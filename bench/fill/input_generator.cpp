#include "input_generator.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string_view>

namespace nodra::bench {

namespace {

// A small fixed generator: std:: distributions differ between library versions.
class Sequence {
 public:
  explicit Sequence(std::uint64_t seed) : state_(seed) {}
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  std::uint32_t below(std::uint32_t n) { return next() % n; }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kWords[] = {"Mlieko",   "polotučné", "Chlieb", "ražný", "Rožok",   "Káva",
                                       "zrnková",  "Syr",       "údený",  "Šunka", "Jogurt",  "biely",
                                       "Čokoláda", "horká",     "Maslo",  "Cukor", "kryštál", "Múka",
                                       "hladká",   "Pivo",      "svetlé", "1l",    "500g"};

std::string ean(Sequence& s) {
  std::string code = "858";
  for (int i = 0; i < 10; ++i) code.push_back(static_cast<char>('0' + s.below(10)));
  return code;
}

std::string name(Sequence& s, std::size_t maxLength) {
  std::string text;
  std::uint32_t words = 2 + s.below(3);
  for (std::uint32_t i = 0; i < words; ++i) {
    std::string_view w = kWords[s.below(std::size(kWords))];
    if (text.size() + w.size() + 1 > maxLength) break;
    if (!text.empty()) text.push_back(' ');
    text.append(w);
  }
  return text;
}

// "12,50" or "3": a decimal comma, as the lists mostly come.
std::string amount(Sequence& s, bool decimals) {
  std::string text = std::to_string(s.below(decimals ? 5000 : 200));
  if (decimals) text += "," + std::to_string(10 + s.below(90));
  return text;
}

std::string padRight(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string padLeft(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string line(Layout layout, Sequence& s) {
  switch (layout) {
    case Layout::Delimited: return ean(s) + ";" + amount(s, true) + ";" + amount(s, false) + ";" + name(s, 39);
    case Layout::Fixed:  // code 0/16, count 17/8, price 25/8, name 34/39
      return padRight(ean(s), 17) + padLeft(amount(s, false), 8) + padLeft(amount(s, true), 8) + " " +
             padRight(name(s, 39), 39);
    case Layout::Casio1:  // code 14, name 26, price 10
      return padRight(ean(s), 14) + padRight(name(s, 26), 26) + padLeft(amount(s, true), 10);
    case Layout::Old: return ean(s) + " " + amount(s, true) + " " + amount(s, false) + "   " + name(s, 40);
  }
  return {};
}

}  // namespace

const char* layoutName(Layout layout) {
  switch (layout) {
    case Layout::Delimited: return "delimiter";
    case Layout::Fixed: return "fixed length";
    case Layout::Casio1: return "CASIO 1";
    case Layout::Old: return "old";
  }
  return "?";
}

LocalSettings settingsFor(Layout layout) {
  LocalSettings s;
  s.Odd_ISK = layout == Layout::Delimited;
  s.Pevna_dl_ISK = layout == Layout::Fixed;
  s.CASIO1_ISK = layout == Layout::Casio1;
  s.Old_ISK = layout == Layout::Old;
  return s;
}

std::size_t generateInput(Layout layout, std::size_t lines, const std::filesystem::path& file) {
  Sequence s(0x4E4F445241ULL + static_cast<std::uint64_t>(layout));
  std::string text;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + file.string());
  std::size_t size = 0;
  for (std::size_t i = 0; i < lines; ++i) {
    text += line(layout, s);
    text += "\r\n";
    if (text.size() > (1u << 20) || i + 1 == lines) {
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      size += text.size();
      text.clear();
    }
  }
  return size;
}

}  // namespace nodra::bench
