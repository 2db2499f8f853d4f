#include "xml/xml_writers.h"

#include "xml/xml_number.h"
#include "xml/xml_store_export.h"

namespace nodra {

bool WriteXmlMainStore(ReadOutContext& ctx) { return writeXmlStore(ctx, kXmlMainStore, userDecimalSeparator()); }
bool WriteXmlVpStore(ReadOutContext& ctx) { return writeXmlStore(ctx, kXmlVpStore, userDecimalSeparator()); }
bool WriteXmlReport(ReadOutContext& ctx) { return writeXmlStore(ctx, kXmlReport, userDecimalSeparator()); }
bool WriteXmlNonZero(ReadOutContext& ctx) { return writeXmlStore(ctx, kXmlNonZero, userDecimalSeparator()); }

}  // namespace nodra
