#include "app/command_line_info.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

#include "app/form_nodra.h"
#include "platform/cp1250.h"

namespace nodra {
namespace {

std::string helpText() {
  auto code = [](ExitCode c) { return std::to_string(static_cast<int>(c)); };
  std::string text = usageText();
  text += "\n/nodsp - bez okna a bez okien so správami; správy idú na štandardný chybový výstup\n";
  text += "Návratový kód: " + code(ExitCode::Ok) + " hotovo, " + code(ExitCode::Failure) + " chyba, " +
          code(ExitCode::Usage) + " zobrazený tento návod, " + code(ExitCode::NoTerminal) + " NODRA nepripojená, " +
          code(ExitCode::AlreadyRunning) + " aplikácia je už spustená\n";
  return cp1250::toUtf8(text);
}

}  // namespace

const char* usageText() {
  return "nodra_mmc_trm.exe [VPNZzO] [/min]\n\nV - vyčíta všetky položky z hlavného skladu, zostavu a sklad VP (ak "
         "bol vytvorený)\n\nP - vyčíta zostavu\n\nN - vyčíta nenulové položky hlavného skladu\n\nZ - vynuluje počty "
         "hlavného skladu + zmaže zostavu + zmaže sklad VP (ak bol vytvorený)\n\nz - zmaže zostavu\n\nO - naplní "
         "hlavný sklad\n\n/min, alebo /nodsp - spusti v minimalizovanom okne";
}

std::optional<int> answerInfoRequest(int argc, const char* const argv[]) {
  if (argc < 2) return std::nullopt;
  const std::string_view request = argv[1];
  std::string answer;
  if (request == "--help") {
    answer = helpText();
  } else if (request == "--version") {
    answer = "nodra_mmc_trm " NODRA_VERSION "\n";
  } else {
    return std::nullopt;
  }
  // A full disk or a closed pipe behind standard output must not pass for an answer given.
  errno = 0;
  if (std::fputs(answer.c_str(), stdout) == EOF || std::fflush(stdout) != 0) {
    const int error = errno;
    std::fprintf(stderr, "NODRA3000: Cannot write to standard output. %s\n",
                 std::system_category().message(error).c_str());
    return static_cast<int>(ExitCode::Failure);
  }
  return static_cast<int>(ExitCode::Ok);
}

}  // namespace nodra
