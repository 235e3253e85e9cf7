// The six functions of the game's script hook (ScriptHookRDR2.dll) that
// Ondrelle calls, declared here by the project itself.
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
