#include "readout/read_out_outputs.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "platform/path_text.h"
#include "readout/raw_copy.h"
#include "store/read_out_messages.h"
#include "xml/xml_store_export.h"

namespace nodra {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kRawStores[] = {"ZOST_OUT.TXT", "VP_OUT.TXT", "DATA_OUT.TXT"};

// One file, however it is spelt: the same resolved path, or the same file where both exist.
struct FileIdentity {
  fs::path resolved;
  std::optional<std::pair<dev_t, ino_t>> inode;

  explicit FileIdentity(const fs::path& path) {
    std::error_code ec;
    resolved = fs::weakly_canonical(path, ec);
    if (ec) resolved = fs::absolute(path, ec).lexically_normal();
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) inode = std::make_pair(st.st_dev, st.st_ino);
  }
  bool operator==(const FileIdentity& other) const {
    return resolved == other.resolved || (inode && other.inode && *inode == *other.inode);
  }
};

bool isInside(const fs::path& path, const fs::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
    if (f->empty()) continue;  // a trailing "/"
    if (p == path.end() || *p != *f) return false;
  }
  return true;
}

void refuse(Ui& ui, const std::string& output, const std::string& why) {
  ui.message(readOutFailure("Výstupný súbor " + output + " " + why +
                            ".\r\n\r\nNič sa nevyčítalo: zvoľte iný súbor na stránke IMPORT / EXPORT alebo XML."));
  ui.setStatus(kReadOutFailed);
}

}  // namespace

std::vector<std::string> plannedOutputs(const ReadOutContext& ctx, ReadOutCommand command) {
  const LocalSettings& s = ctx.settings;
  std::vector<std::string> out;
  auto raw = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) out.push_back(rawCopyTarget(s.path_suroveData, ctx.exeFolder, name));
  };
  auto xml = [&](std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) out.push_back(xmlOutputPath(s.path_xmlOut, ctx.exeFolder, name));
  };
  switch (command) {
    case ReadOutCommand::All:
      if (s.formatovatData == kRawCopy) raw({kRawStores[0], kRawStores[1], kRawStores[2]});
      if (s.formatovatData == kFormatted) out = {s.path_outv, s.path_zostava, s.path_outn};
      if (s.formatovatData == kXml) xml({"DATA_OUT.XML", "VP_OUT.XML", "ZOST_OUT.XML", "DATA_OUTN.XML"});
      break;
    case ReadOutCommand::NonZero:
      out.push_back(s.path_outn);
      if (s.formatovatData == kXml) xml({"DATA_OUTN.XML"});
      break;
    case ReadOutCommand::Report:
      if (s.formatovatData == kRawCopy) raw({kRawStores[0], kRawStores[1]});
      if (s.formatovatData == kFormatted) out.push_back(s.path_zostava);
      if (s.formatovatData == kXml) xml({"VP_OUT.XML", "ZOST_OUT.XML"});
      break;
  }
  return out;
}

bool outputsAreSafe(ReadOutContext& ctx, const std::vector<std::string>& outputs) {
  Ui& ui = ctx.session.ui;
  const FileIdentity workFile(toFsPath(ctx.exeFolder + "tmp_in.txt"));
  const FileIdentity settings(toFsPath(ctx.exeFolder + "nodra3000.ini"));
  std::optional<fs::path> card;
  if (ctx.session.drive) {
    std::error_code ec;
    card = fs::weakly_canonical(ctx.session.drive->root, ec);
  }
  std::vector<FileIdentity> seen;
  for (const std::string& output : outputs) {
    const FileIdentity file(toFsPath(output));
    if (file == workFile) {
      refuse(ui, output, "je pracovný súbor programu (tmp_in.txt), do ktorého sa sklad najprv kopíruje");
      return false;
    }
    if (file == settings) {
      refuse(ui, output, "je súbor nastavení programu (nodra3000.ini)");
      return false;
    }
    if (card && isInside(file.resolved, *card)) {
      refuse(ui, output, "leží na karte terminálu");
      return false;
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
      if (seen[i] == file) {
        refuse(ui, output, "je zároveň iný výstup toho istého vyčítania (" + outputs[i] + ")");
        return false;
      }
    }
    seen.push_back(file);
  }
  return true;
}

bool hasFormattedLayout(const LocalSettings& s) { return s.Odd_OSK || s.Pevna_dl_OSK || s.CASIO1_OSK || s.Old_OSK; }

bool formattedLayoutChosen(ReadOutContext& ctx) {
  if (hasFormattedLayout(ctx.settings)) return true;
  // Three empty files would pass for a store with nothing in it.
  ctx.session.ui.message(readOutFailure(
      "Nie je zvolený formát výstupných súborov (Oddeľovač, Pevná dĺžka, CASIO 1 ani Starý formát).\r\n\r\n"
      "Nič sa nevyčítalo."));
  ctx.session.ui.setStatus(kReadOutFailed);
  return false;
}

}  // namespace nodra
