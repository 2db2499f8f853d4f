#include "platform/file_error.h"

#include <locale.h>
#include <cerrno>
#include <clocale>
#include <cstring>

#include "platform/integer_text.h"

namespace nodra {

bool FileError::refused() const {
  switch (trouble) {
    case FileTrouble::Link:
    case FileTrouble::Fifo:
    case FileTrouble::CharDevice:
    case FileTrouble::BlockDevice:
    case FileTrouble::Socket:
    case FileTrouble::HardLinked: return true;
    default: return false;
  }
}

std::string systemReasonText(int error) {
  switch (error) {
    case ENOENT: return "súbor alebo priečinok neexistuje";
    case EACCES:
    case EPERM: return "prístup odmietnutý";
    case EROFS: return "médium je len na čítanie";
    case ENOSPC:
    case EDQUOT: return "na médiu nie je voľné miesto";
    case EFBIG: return "súbor je príliš veľký";
    case EIO: return "chyba čítania alebo zápisu na médiu";
    case ENXIO:
    case ENODEV: return "zariadenie nie je pripojené";
    case EISDIR: return "je to priečinok";
    case ENOTDIR: return "časť cesty nie je priečinok";
    case ELOOP: return "cesta vedie cez symbolický odkaz";
    case ENAMETOOLONG: return "meno je príliš dlhé";
    case EMFILE:
    case ENFILE: return "priveľa otvorených súborov";
    case EBUSY: return "zariadenie je zaneprázdnené";
    case ETXTBSY: return "súbor sa práve používa";
    default: break;
  }
  // Any other reason in the system's own words: the C locale's, which are plain ASCII.
  std::string text = "chyba systému ";
  text += intToText(error);
  if (locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
    text += ": ";
    text += ::strerror_l(error, c);
    ::freelocale(c);
  }
  return text;
}

std::string troubleText(const FileError& e) {
  switch (e.trouble) {
    case FileTrouble::None: return {};
    case FileTrouble::Missing: return "neexistuje";
    case FileTrouble::Link: return "je symbolický odkaz; program odkazy na karte nesleduje";
    case FileTrouble::Folder: return "je priečinok, nie súbor";
    case FileTrouble::NotFolder: return "nie je priečinok";
    case FileTrouble::Fifo: return "je pomenovaná rúra (FIFO), nie obyčajný súbor";
    case FileTrouble::CharDevice: return "je znakové zariadenie, nie obyčajný súbor";
    case FileTrouble::BlockDevice: return "je blokové zariadenie, nie obyčajný súbor";
    case FileTrouble::Socket: return "je soket, nie obyčajný súbor";
    case FileTrouble::HardLinked: return "má na karte viac mien (pevné odkazy); program taký súbor nepoužije";
    case FileTrouble::System: return "sa nedá použiť: " + systemReasonText(e.systemError);
  }
  return {};
}

std::string reasonText(const FileError& e) {
  if (e.trouble == FileTrouble::Missing) return systemReasonText(ENOENT);
  if (e.trouble == FileTrouble::System) return systemReasonText(e.systemError);
  return troubleText(e);
}

std::string withReason(std::string text, const FileError& e) {
  if (!e.failed()) return text;
  text += " (";
  text += reasonText(e);
  text += ')';
  return text;
}

std::string fileErrorText(const FileError& e) {
  std::string text = "Súbor ";
  text += e.path;
  text += ' ';
  text += troubleText(e);
  text += '.';
  return text;
}

std::string withDetail(std::string text, const FileError& e) {
  if (!e.failed()) return text;
  text += "\r\n\r\n";
  text += fileErrorText(e);
  return text;
}

}  // namespace nodra
