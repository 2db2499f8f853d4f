#include "terminal_standin.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/cp1250.h"
#include "platform/path_text.h"
#include "platform/profile_file.h"

namespace nodra::standin {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGlobal = "GLOBAL";

std::string readWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeWhole(const fs::path& file, std::string_view bytes) {
  FileError error;
  if (!replaceFile(FilePlace::onPc(file), bytes, error)) {
    throw std::runtime_error("cannot write " + file.string() + ": " + cp1250::toUtf8(reasonText(error)));
  }
}

// The terminal's own view of its card: a path in the card's spelling where it exists.
fs::path resolveOnVolume(const fs::path& root, std::string_view relative) {
  return toFsPath(FilePlace::onCard(root, relative).displayText());
}

// Calls onLine for every line without its line end (LF or CR LF).
template <typename OnLine>
void forEachLine(std::string_view text, OnLine&& onLine) {
  while (!text.empty()) {
    std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    onLine(line);
  }
}

// "code;price;count;name" as the fill writes it; the name may hold ";" itself.
std::string toStoreLayout(std::string_view records) {
  std::string store;
  forEachLine(records, [&](std::string_view line) {
    std::size_t a = line.find(';');
    std::size_t b = a == std::string_view::npos ? a : line.find(';', a + 1);
    std::size_t c = b == std::string_view::npos ? b : line.find(';', b + 1);
    if (c == std::string_view::npos) return;  // not a record: the terminal passes it over
    store.append(line);
    store.append(";\r\n");
  });
  return store;
}

std::string zeroText(int decimals) {
  if (decimals < 0 || decimals > 3) decimals = 2;
  return decimals == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

// Field 2 (the quantity) of every record line becomes zero; everything else stays.
std::string zeroQuantities(std::string_view store, const std::string& zero) {
  std::string out;
  forEachLine(store, [&](std::string_view line) {
    std::size_t a = line.find(';');
    std::size_t b = a == std::string_view::npos ? a : line.find(';', a + 1);
    std::size_t c = b == std::string_view::npos ? b : line.find(';', b + 1);
    if (c == std::string_view::npos) {
      out.append(line);
    } else {
      out.append(line.substr(0, b + 1));
      out.append(zero);
      out.append(line.substr(c));
    }
    out.append("\r\n");
  });
  return out;
}

unsigned countItems(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return 0;
  unsigned items = 0;
  forEachLine(readWhole(file), [&](std::string_view line) {
    if (line.find(';') != std::string_view::npos) ++items;
  });
  return items;
}

bool removeIfPresent(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return false;
  if (!fs::remove(file, ec)) throw std::runtime_error("cannot delete " + file.string() + ": " + ec.message());
  return true;
}

}  // namespace

StandinResult playTerminal(const fs::path& root) {
  const fs::path config = resolveOnVolume(root, "CONFIG\\NODRA3000.ini");
  std::error_code ec;
  if (!fs::is_regular_file(config, ec)) {
    throw std::runtime_error("no terminal here: " + config.string() + " is missing");
  }
  ProfileFile ini(config, toDisplayText(config), /*mayCreate=*/false);
  StandinResult result;

  const fs::path dataIn = resolveOnVolume(root, "data\\data_in.txt");
  if (fs::is_regular_file(dataIn, ec)) {
    writeWhole(resolveOnVolume(root, "DATA\\DATA_OUT.TXT"), toStoreLayout(readWhole(dataIn)));
    removeIfPresent(dataIn);
    result.tookOver = true;
  }

  if (ini.readInteger(kGlobal, "CLEAR_SKLAD", 0) != 0) {
    const fs::path store = resolveOnVolume(root, "DATA\\DATA_OUT.TXT");
    if (fs::is_regular_file(store, ec)) {
      writeWhole(store, zeroQuantities(readWhole(store), zeroText(ini.readInteger(kGlobal, "PDM_COUNT", 2))));
    }
    ini.writeInteger(kGlobal, "CLEAR_SKLAD", 0);
    result.clearedSklad = true;
  }
  if (ini.readInteger(kGlobal, "CLEAR_ZOST", 0) != 0) {
    removeIfPresent(resolveOnVolume(root, "DATA\\ZOST_OUT.TXT"));
    ini.writeInteger(kGlobal, "CLEAR_ZOST", 0);
    result.clearedZost = true;
  }
  if (ini.readInteger(kGlobal, "CLEAR_SKLADVP", 0) != 0) {
    removeIfPresent(resolveOnVolume(root, "DATA\\VP_OUT.TXT"));
    ini.writeInteger(kGlobal, "CLEAR_SKLADVP", 0);
    result.clearedVp = true;
  }

  result.sklad = countItems(resolveOnVolume(root, "DATA\\DATA_OUT.TXT"));
  result.zostava = countItems(resolveOnVolume(root, "DATA\\ZOST_OUT.TXT"));
  ini.writeInteger(kGlobal, "SKLAD", static_cast<int>(result.sklad));
  ini.writeInteger(kGlobal, "ZOSTAVA", static_cast<int>(result.zostava));
  return result;
}

}  // namespace nodra::standin
