#include "synthetic_store.h"

#include <charconv>
#include <iterator>
#include <random>
#include <string>

namespace nodra::bench {

namespace {

// Compiled into Windows-1250, as the terminal stores them.
constexpr std::string_view kGoods[] = {"Mlieko", "Chlieb",    "Káva",  "Čokoláda",  "Syr",     "Maslo",
                                       "Jogurt", "Šunka",     "Rožok", "Pivo",      "Víno",    "Cukor",
                                       "Múka",   "Ryža",      "Čaj",   "Paradajky", "Zemiaky", "Jablká",
                                       "Hrušky", "Cestoviny", "Olej",  "Ocot",      "Soľ",     "Vajcia"};
constexpr std::string_view kQualities[] = {"polotučné", "celozrnný", "mletá", "horká",  "údený", "čerstvé",
                                           "biely",     "tmavé",     "kyslá", "sladké", "BIO",   "extra"};
constexpr std::string_view kFirms[] = {"Potraviny Kováč s.r.o.", "Jednota SD", "Ďurica a syn", "Mliekáreň Žilina",
                                       "Pekáreň Šťastný"};

class Record {
 public:
  void text(std::string_view field) {
    line_.append(field);
    line_.push_back(';');
  }
  void number(std::uint64_t value) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
    (void)ec;
    line_.append(digits, end);
  }
  // value / 10^decimals with all decimals written
  void fixed(std::uint64_t scaled, int decimals) {
    std::uint64_t unit = 1;
    for (int i = 0; i < decimals; ++i) unit *= 10;
    number(scaled / unit);
    if (decimals > 0) {
      line_.push_back('.');
      std::string fraction = std::to_string(unit + scaled % unit);
      line_.append(fraction, 1);
    }
    line_.push_back(';');
  }
  void integerField(std::uint64_t value) {
    number(value);
    line_.push_back(';');
  }
  std::string& line() { return line_; }

 private:
  std::string line_;
};

std::string ean13(std::uint64_t body) {
  // 858 (Slovakia), nine digits, check digit
  std::string code = "858" + std::to_string(1000000000ull + body % 1000000000ull).substr(1);
  int sum = 0;
  for (std::size_t i = 0; i < 12; ++i) sum += (code[i] - '0') * (i % 2 == 0 ? 1 : 3);
  code.push_back(static_cast<char>('0' + (10 - sum % 10) % 10));
  return code;
}

}  // namespace

bool storeKindFromName(std::string_view name, StoreKind& kind) {
  if (name == "data")
    kind = StoreKind::MainStore;
  else if (name == "zost")
    kind = StoreKind::Report;
  else if (name == "vp")
    kind = StoreKind::VpStore;
  else
    return false;
  return true;
}

void writeSyntheticStore(std::ostream& out, StoreKind kind, std::uint64_t items, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string chunk;
  chunk.reserve(1 << 20);
  Record r;
  for (std::uint64_t i = 0; i < items; ++i) {
    const auto a = static_cast<std::uint32_t>(random());
    const auto b = static_cast<std::uint32_t>(random());
    const std::string code = ean13(i * 7919u + a % 7919u);
    std::string name(kGoods[a % std::size(kGoods)]);
    name += ' ';
    name += kQualities[b % std::size(kQualities)];
    name += ' ';
    name += std::to_string(50 + (a >> 8) % 950);
    name += (b >> 4) % 3 == 0 ? "g" : "ml";
    const std::uint64_t cents = 9 + (a >> 12) % 49990;
    // One in five counted zero, one in four a weight with grams.
    const std::uint32_t kindOfQuantity = (b >> 8) % 20;
    const std::uint64_t grams = kindOfQuantity < 4   ? 0
                                : kindOfQuantity < 9 ? (b >> 12) % 25000
                                                     : ((b >> 12) % 200) * 1000;

    r.line().clear();
    switch (kind) {
      case StoreKind::MainStore:
        r.text(code);
        r.fixed(cents, 2);
        r.fixed(grams, 3);
        r.text(name);
        break;
      case StoreKind::Report:
        r.text(code);
        r.fixed(cents, 2);
        r.fixed(grams, 3);
        r.text(name);
        r.text("0" + std::to_string(1 + a % 9) + ".0" + std::to_string(1 + b % 9) + ".2013");
        r.integerField(i + 1);
        r.text(b % 2 ? "P" : "V");
        r.text("PR" + std::to_string(100000 + i / 50).substr(1));
        r.text(std::to_string(30000000 + a % 9999999));
        break;
      case StoreKind::VpStore:
        r.text("VP" + std::to_string(100000 + i / 50).substr(1));
        r.text(code);
        r.text(name);
        r.fixed(grams, 3);
        r.text(b % 2 ? "P" : "V");
        r.text(std::to_string(30000000 + a % 9999999));
        r.fixed(cents, 2);
        r.text(kFirms[a % std::size(kFirms)]);
        break;
    }
    chunk += r.line();
    chunk += "\r\n";
    if (chunk.size() >= (1 << 20) - 512) {
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      chunk.clear();
    }
  }
  out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

}  // namespace nodra::bench
