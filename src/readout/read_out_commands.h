#pragma once
// The three read-out commands, as the window's buttons and the batch letters V, N and P run them.
#include "store/read_out_context.h"

namespace nodra {

// Btn_vyc_kartyClick, batch "V": main store, report and VP store, raw, formatted or XML by formatovatData.
void readOutAll(ReadOutContext& ctx);
// Btn_nenul_kartyClick, batch "N": the main store's items of non-zero quantity, always formatted; in XML mode
// DATA_OUTN.XML as well.
void readOutNonZero(ReadOutContext& ctx);
// Btn_vyc_zostClick, batch "P": report and VP store.
void readOutReport(ReadOutContext& ctx);

}  // namespace nodra
