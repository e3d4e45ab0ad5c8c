#include "tests/memory_platform/memory_controls.h"

namespace zoriza {

MemoryDriveList::MemoryDriveList(std::vector<std::wstring> entries, const std::wstring& currentDrive)
    : HeadlessDriveList(std::move(entries), currentDrive) {
    OnChange(nullptr);
}

// Every change is counted, whoever handles it.
void MemoryDriveList::OnChange(EventHandler handler) {
    HeadlessDriveList::OnChange([this, handler = std::move(handler)] {
        ++changes_;
        if (handler) handler();
    });
}

}  // namespace zoriza
