// The six long operations of the memory window, one unit of work per timer tick.
#include "app/control_program.h"
#include "memory/memory_main.h"

namespace tavrin {

void MemoryMain::CreateFileStep() {}
void MemoryMain::ViewFileStep() {}
void MemoryMain::UpdateRigStep() {}
void MemoryMain::ViewRigStep() {}
void MemoryMain::BlankRigStep() {}
void MemoryMain::ScanRigStep() {}

}  // namespace tavrin
