// The memory window's buttons and menus.
#include "app/control_program.h"
#include "memory/memory_main.h"

namespace tavrin {

void MemoryMain::CreateFile() {}
void MemoryMain::ViewFile() {}
void MemoryMain::ChangeDataFile() {}
void MemoryMain::ClearStop() {}
void MemoryMain::ViewRig() {}
void MemoryMain::UpdateRig() {}
void MemoryMain::BlankRig() {}
void MemoryMain::RepeatBlank() {}
void MemoryMain::ScanRig() {}
void MemoryMain::RepeatScan() {}
void MemoryMain::Skip() {}
void MemoryMain::ShowRadioWindow() {}
void MemoryMain::ShowSetupWindow() {}
void MemoryMain::Help() {}
void MemoryMain::Exit() {}
void MemoryMain::Click(const std::string& /*control*/) {}
void MemoryMain::ShowEndDisplay() {}

}  // namespace tavrin
