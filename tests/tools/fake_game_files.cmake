# Stand-ins for a game folder's programs, each a library that holds nothing
# but a version resource, which is all ondrelle-check reads of them: the game,
# the game of an older build, the script hook (of the game's build and of an
# older one), the ASI loader,
# Ondrelle.asi of this version, an older and a newer one; and two libraries
# known by the texts beside their version: Ultimate ASI Loader, and Windows'
# own version.dll, which is no loader. And one library
# that ends any process loading it, as a 32-bit or broken loader does: the
# checker must never load it. Made with the MinGW tools in every build, so
# that the table of game folders runs natively and under Wine on the very
# same files.
find_program(ONDRELLE_MINGW_WINDRES x86_64-w64-mingw32-windres REQUIRED)
find_program(ONDRELLE_MINGW_GCC x86_64-w64-mingw32-gcc REQUIRED)
set(FAKE_GAME_FILES ${CMAKE_CURRENT_BINARY_DIR}/fake_game_files)
file(MAKE_DIRECTORY ${FAKE_GAME_FILES})
set(fake_game_file_outputs)
foreach(fake
    "RDR2.exe;1,0,1491,50"
    "RDR2-1436.exe;1,0,1436,31"
    "ScriptHookRDR2.dll;1,0,1491,17"
    "ScriptHookRDR2-1436.dll;1,0,1436,31"
    "dinput8.dll;8,0,0,1"
    "Ondrelle.asi;${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0"
    "Ondrelle-1.1.0.asi;1,1,0,0"
    "Ondrelle-9.0.0.asi;9,0,0,0"
    "UltimateAsiLoader.dll;9,0,0,0;Ultimate ASI Loader;Ultimate ASI Loader;ThirteenAG"
    "version-of-windows.dll;10,0,19041,1;Version Checking and File Installation Libraries;Microsoft Windows Operating System;Microsoft Corporation")
  list(GET fake 0 name)
  list(GET fake 1 version)
  set(strings "")
  list(LENGTH fake fields)
  if(fields GREATER 2)
    list(GET fake 2 description)
    list(GET fake 3 product)
    list(GET fake 4 company)
    string(CONCAT strings "  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"040904B0\"\n    BEGIN\n"
                "      VALUE \"CompanyName\", \"${company}\"\n      VALUE \"FileDescription\", \"${description}\"\n"
                "      VALUE \"ProductName\", \"${product}\"\n    END\n  END\n")
  endif()
  set(rc ${FAKE_GAME_FILES}/${name}.rc)
  file(WRITE ${rc} "1 VERSIONINFO\nFILEVERSION ${version}\nPRODUCTVERSION ${version}\nBEGIN\n${strings}"
                   "  BLOCK \"VarFileInfo\"\n  BEGIN\n    VALUE \"Translation\", 0x409, 1200\n  END\nEND\n")
  add_custom_command(OUTPUT ${FAKE_GAME_FILES}/${name}
    COMMAND ${ONDRELLE_MINGW_WINDRES} ${rc} -O coff -o ${FAKE_GAME_FILES}/${name}.o
    COMMAND ${ONDRELLE_MINGW_GCC} -shared -nostdlib -Wl,-e,0 -o ${FAKE_GAME_FILES}/${name} ${FAKE_GAME_FILES}/${name}.o
    DEPENDS ${rc}
    COMMENT "A stand-in ${name} for the game-folder tests")
  list(APPEND fake_game_file_outputs ${FAKE_GAME_FILES}/${name})
endforeach()
set(exits ${FAKE_GAME_FILES}/version-that-exits)
file(WRITE ${exits}.c "#include <windows.h>\n"
  "BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {\n"
  "    if (reason == DLL_PROCESS_ATTACH) ExitProcess(3);\n"
  "    return TRUE;\n"
  "}\n")
add_custom_command(OUTPUT ${exits}.dll
  COMMAND ${ONDRELLE_MINGW_GCC} -shared -nostdlib -Wl,-e,DllMain -o ${exits}.dll ${exits}.c -lkernel32
  DEPENDS ${exits}.c
  COMMENT "A stand-in library that ends any process loading it, for the game-folder tests")
list(APPEND fake_game_file_outputs ${exits}.dll)
add_custom_target(fake_game_files ALL DEPENDS ${fake_game_file_outputs})
