// "Set Vol", "Set Call ", "Set Time" and "Manual Commands  ": ask, check, convert, send.
#include "app/control_program.h"
#include "radio/radio_main.h"

namespace tavrin {

void RadioMain::SetVol() {}
void RadioMain::SetCall() {}
void RadioMain::SetTime() {}
void RadioMain::ManualCommands() {}

}  // namespace tavrin
