#include "DriverLibrary.h"

#include "driver/QuorvelDrv.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

DriverLibrary describeDriverLibrary() {
    DriverLibrary library;
    const void* operation = reinterpret_cast<const void*>(&drvLoad);
#if defined(_WIN32)
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (GetModuleHandleExA(flags, static_cast<LPCSTR>(operation), &module) == 0) return library;
    char path[MAX_PATH] = {};
    if (GetModuleFileNameA(module, path, MAX_PATH) != 0) library.path = path;
    library.simulated = GetProcAddress(module, QUORVEL_SIMULATOR_MARKER) != nullptr;
#else
    Dl_info info = {};
    if (dladdr(operation, &info) == 0 || info.dli_fname == nullptr) return library;
    library.path = info.dli_fname;
    // Looked up in that library alone: a marker elsewhere in the process
    // says nothing about the driver.
    if (void* handle = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD)) {
        library.simulated = dlsym(handle, QUORVEL_SIMULATOR_MARKER) != nullptr;
        dlclose(handle);
    }
#endif
    return library;
}
