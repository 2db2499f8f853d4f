#pragma once
// The read-out's XML files: DATA_OUT.XML, VP_OUT.XML, ZOST_OUT.XML and DATA_OUTN.XML in the folder of
// path_xmlOut, read from the terminal's store files. Each detects the terminal first and reports its own
// failures; a failure ends only that writer. A failed write of the output throws std::runtime_error. True
// when the file was written.
#include "store/read_out_context.h"

namespace nodra {

bool WriteXmlMainStore(ReadOutContext& ctx);
bool WriteXmlVpStore(ReadOutContext& ctx);
bool WriteXmlReport(ReadOutContext& ctx);
bool WriteXmlNonZero(ReadOutContext& ctx);

}  // namespace nodra
