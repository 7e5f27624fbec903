// The module entry of the Windows DLL. The library keeps no state, so the only
// work is to tell the loader not to report thread starts and ends to us.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
    return TRUE;
}
