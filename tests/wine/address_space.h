#pragma once

// Using up a 32-bit process's address space, so that allocations genuinely
// fail.

#include <windows.h>

#include <vector>

struct ReservedArea {
  void *address;
  SIZE_T size;
};

// Reserves every free area, the largest pieces first, down to 64 KiB.
inline std::vector<ReservedArea> ReserveAddressSpace() {
  std::vector<ReservedArea> reserved;
  for (SIZE_T size = 1u << 30; size >= 0x10000;) {
    if (void *area = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS))
      reserved.push_back({area, size});
    else
      size /= 2;
  }
  return reserved;
}

inline void ReleaseArea(const ReservedArea &area) {
  VirtualFree(area.address, 0, MEM_RELEASE);
}
