#include "ModulePin.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

// Any address inside this module names it to the loader.
void anchor() {}

}  // namespace

void keepModuleMapped() {
#if defined(_WIN32)
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCSTR>(&anchor), &module);
#else
    // A reference of our own that is never given back, on an object the
    // loader is told never to unmap.
    Dl_info info = {};
    if (dladdr(reinterpret_cast<void*>(&anchor), &info) != 0 && info.dli_fname != nullptr)
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
#endif
}
