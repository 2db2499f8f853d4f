#include "xml/xml_writers.h"

#include "xml/xml_number.h"
#include "xml/xml_store_export.h"

namespace nodra {

void WriteXmlMainStore(ReadOutContext& ctx) { writeXmlStore(ctx, kXmlMainStore, userDecimalSeparator()); }
void WriteXmlVpStore(ReadOutContext& ctx) { writeXmlStore(ctx, kXmlVpStore, userDecimalSeparator()); }
void WriteXmlReport(ReadOutContext& ctx) { writeXmlStore(ctx, kXmlReport, userDecimalSeparator()); }
void WriteXmlNonZero(ReadOutContext& ctx) { writeXmlStore(ctx, kXmlNonZero, userDecimalSeparator()); }

}  // namespace nodra
