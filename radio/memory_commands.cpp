// "Msel", "Mrd", "Mset", "SetFq", "SetMd": the memory-channel commands and their chains.
#include "app/control_program.h"
#include "radio/radio_main.h"

namespace tavrin {

void RadioMain::Msel() {}
void RadioMain::Mrd() {}
void RadioMain::Mset() {}
void RadioMain::SetFq() {}
void RadioMain::SetMd() {}

}  // namespace tavrin
