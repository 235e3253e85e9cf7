# The import library for the game's script hook, made from the project's own
# .def file: each plain name the plug-in links against is imported from
# ScriptHookRDR2.dll under the decorated name the hook exports.
set(SCRIPT_HOOK_DEF ${CMAKE_SOURCE_DIR}/src/host/ScriptHookRDR2.def)
if(MINGW)
  set(SCRIPT_HOOK_IMPLIB ${CMAKE_BINARY_DIR}/libScriptHookRDR2.a)
  add_custom_command(OUTPUT ${SCRIPT_HOOK_IMPLIB}
    COMMAND x86_64-w64-mingw32-dlltool -d ${SCRIPT_HOOK_DEF} -l ${SCRIPT_HOOK_IMPLIB}
    DEPENDS ${SCRIPT_HOOK_DEF}
    COMMENT "Import library for ScriptHookRDR2.dll")
else()
  # MSVC declares the functions with C++ linkage, so its symbols are the
  # decorated names themselves: a plain list of them serves lib.exe.
  set(SCRIPT_HOOK_IMPLIB ${CMAKE_BINARY_DIR}/ScriptHookRDR2.lib)
  set(SCRIPT_HOOK_MSVC_DEF ${CMAKE_BINARY_DIR}/ScriptHookRDR2_msvc.def)
  file(STRINGS ${SCRIPT_HOOK_DEF} hook_lines REGEX "==")
  set(msvc_def "LIBRARY ScriptHookRDR2.dll\nEXPORTS\n")
  foreach(hook_line IN LISTS hook_lines)
    string(REGEX REPLACE ".*== *\"([^\"]+)\".*" "\\1" decorated "${hook_line}")
    string(APPEND msvc_def "${decorated}\n")
  endforeach()
  file(WRITE ${SCRIPT_HOOK_MSVC_DEF} "${msvc_def}")
  add_custom_command(OUTPUT ${SCRIPT_HOOK_IMPLIB}
    COMMAND lib /nologo /machine:x64 /def:${SCRIPT_HOOK_MSVC_DEF} /out:${SCRIPT_HOOK_IMPLIB}
    DEPENDS ${SCRIPT_HOOK_DEF})
endif()
add_custom_target(script_hook_implib DEPENDS ${SCRIPT_HOOK_IMPLIB})
add_library(script_hook INTERFACE)
add_dependencies(script_hook script_hook_implib)
target_link_libraries(script_hook INTERFACE ${SCRIPT_HOOK_IMPLIB})
