// The six functions of the game's script hook (ScriptHookRDR2.dll) that
// Ondrelle imports, declared here by the project itself, and the two keyboard
// functions it finds at run time.
//
// The hook exports them under C++-decorated names. With MinGW they are
// declared with C linkage and the import library made from
// ScriptHookRDR2.def maps each plain name to the decorated one the DLL
// exports. A compiler that decorates names the same way as the hook's own
// (MSVC) can instead take the C++ declarations below as they are.
// Natively (tests and tools) a stand-in world defines the same functions.
#pragma once

#include <cstdint>

struct HINSTANCE__;  // the module handle type the hook's signatures use
typedef HINSTANCE__* HookModule;
typedef void (*ScriptFunction)();

#if defined(_MSC_VER)
#define ONDRELLE_HOOK_LINKAGE extern "C++" __declspec(dllimport)
#else
#define ONDRELLE_HOOK_LINKAGE extern "C"
#endif

// Hands the script function to the hook, which runs it on its script fiber.
ONDRELLE_HOOK_LINKAGE void scriptRegister(HookModule module, ScriptFunction script);
// The decorated name scriptRegister is imported under (ScriptHookRDR2.def):
// the import that tells which loaded module is the hook.
constexpr char kScriptRegisterName[] = "?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z";
// Withdraws every script that module registered.
ONDRELLE_HOOK_LINKAGE void scriptUnregister(HookModule module);
// Suspends the script; it resumes on a later frame.
ONDRELLE_HOOK_LINKAGE void scriptWait(unsigned long milliseconds);
// Begins a native call by the native's hash.
ONDRELLE_HOOK_LINKAGE void nativeInit(uint64_t hash);
// Appends the next 64-bit argument of the native call begun.
ONDRELLE_HOOK_LINKAGE void nativePush64(uint64_t value);
// Runs the native; returns its result slots, valid until the next call.
ONDRELLE_HOOK_LINKAGE uint64_t* nativeCall();

// ---- The keyboard functions, found at run time ----
//
// The hook calls a keyboard handler from the game window's message handling
// for each key pressed or let go there: the virtual-key code, the repeat
// count, the scan code, whether it is an extended key, whether Alt is held,
// whether the key was already down (an auto-repeat) and whether this is its
// release. The types are those of the hook's signature (DWORD, WORD, BYTE
// and four BOOLs) by size.
typedef void (*KeyboardHandler)(uint32_t key, uint16_t repeats, uint8_t scan_code, int32_t is_extended,
                                int32_t is_with_alt, int32_t was_down_before, int32_t is_up_now);
// keyboardHandlerRegister and keyboardHandlerUnregister both take a handler.
// Neither is imported: a hook without them must still load the plug-in, so
// they are looked up by these decorated names in the hook already loaded.
// The hook ends the game when one handler is registered twice, or when a
// handler it does not know is withdrawn.
typedef void (*KeyboardHandlerFunction)(KeyboardHandler handler);
constexpr char kKeyboardHandlerRegisterName[] = "?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z";
constexpr char kKeyboardHandlerUnregisterName[] = "?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z";
