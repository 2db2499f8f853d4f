// The read-out and fill commands of the main view and the batch command line.
#include "app/form_nodra.h"

namespace nodra {

void TForm_nodra::Btn_vyc_kartyClick() { session_.check(); }
void TForm_nodra::Btn_nenul_kartyClick() { session_.check(); }
void TForm_nodra::Btn_vyc_zostClick() { session_.check(); }
void TForm_nodra::Btn_napln_skladClick() { session_.check(); }

}  // namespace nodra
