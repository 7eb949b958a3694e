// Replacing a function in this program's import table.

#include "import_hook.h"

#include <cstdint>
#include <cstring>

void *Replace(const char *function, void *replacement) {
  auto *base = reinterpret_cast<BYTE *>(GetModuleHandleA(nullptr));
  const auto *headers = reinterpret_cast<IMAGE_NT_HEADERS *>(
      base + reinterpret_cast<IMAGE_DOS_HEADER *>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &imports =
      headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto *dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR *>(
           base + imports.VirtualAddress);
       dll->Name != 0; ++dll) {
    auto *name =
        reinterpret_cast<IMAGE_THUNK_DATA *>(base + dll->OriginalFirstThunk);
    auto *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + dll->FirstThunk);
    for (; name->u1.AddressOfData != 0; ++name, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) ||
          std::strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME *>(
                          base + name->u1.AddressOfData)
                          ->Name,
                      function) != 0)
        continue;
      DWORD protection;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function,
                     PAGE_READWRITE, &protection);
      void *original = reinterpret_cast<void *>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<std::uintptr_t>(replacement);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection,
                     &protection);
      return original;
    }
  }
  ExitProcess(97); // the tool does not import the function
}
