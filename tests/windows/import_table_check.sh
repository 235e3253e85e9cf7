#!/usr/bin/env bash
# Reads the built plug-in's import and export tables: it imports only from
# Windows' own DLLs and the script hook, from the hook exactly its six
# functions under their decorated names (the two keyboard functions are looked
# up at run time, never imported, so that a hook without them still loads
# it), and it exports nothing at all. And
# the checker's: it imports from KERNEL32 and msvcrt alone, so that no
# library of the game's folder (a loader installed as version.dll, which
# USER32 loads under Wine) is ever loaded into it.
# Usage: import_table_check.sh PLUGIN CHECKER
set -u
dll=$1
checker=$2
dump=$(x86_64-w64-mingw32-objdump -p "$dll") || { echo "cannot read $dll"; exit 1; }
fail=0

checker_dlls=$(x86_64-w64-mingw32-objdump -p "$checker" | sed -n 's/^\s*DLL Name: //p' | sort -u)
if [ "$checker_dlls" != "$(printf '%s\n' KERNEL32.dll msvcrt.dll)" ]; then
  echo "the checker imports from other DLLs than KERNEL32.dll and msvcrt.dll:"; echo "$checker_dlls"; fail=1
fi

file_format=$(x86_64-w64-mingw32-objdump -f "$dll" | grep -o 'pei-x86-64')
[ "$file_format" = pei-x86-64 ] || { echo "not a 64-bit PE: $dll"; fail=1; }

# USER32 gives the game window's size, looked up once a second.
dlls=$(printf '%s\n' "$dump" | sed -n 's/^\s*DLL Name: //p' | sort -u)
expected_dlls=$(printf '%s\n' KERNEL32.dll ScriptHookRDR2.dll USER32.dll msvcrt.dll | sort -u)
if [ "$dlls" != "$expected_dlls" ]; then
  echo "imported DLLs differ:"; echo "$dlls"; fail=1
fi

# The names imported from the hook: the lines after its "DLL Name" up to the
# next blank line, last column.
hook_names=$(printf '%s\n' "$dump" | awk '/DLL Name: ScriptHookRDR2.dll/{on=1; next} on && /^\s*$/{on=0} on && NF>=3 && $1 ~ /^[0-9a-f]+$/ {print $NF}' | sort)
expected_names=$(printf '%s\n' \
  '?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z' \
  '?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z' \
  '?scriptWait@@YAXK@Z' \
  '?nativeInit@@YAX_K@Z' \
  '?nativePush64@@YAX_K@Z' \
  '?nativeCall@@YAPEA_KXZ' | sort)
if [ "$hook_names" != "$expected_names" ]; then
  echo "names imported from ScriptHookRDR2.dll differ:"; echo "$hook_names"; fail=1
fi

# No name and no address exported: the counts under "Number in:" are zero
# (the linker may still write an export directory that names the DLL alone).
export_counts=$(printf '%s\n' "$dump" | sed -n '/^Number in:/,/^Table Addresses/p' | grep -oE '[0-9a-f]{8}$' | sort -u)
if [ -n "$export_counts" ] && [ "$export_counts" != 00000000 ]; then
  echo "the plug-in exports names:"
  printf '%s\n' "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | head -n 40
  fail=1
fi
[ $fail = 0 ] && echo "import table: KERNEL32.dll, USER32.dll, msvcrt.dll and the six hook functions; no exports;" \
  "the checker: KERNEL32.dll and msvcrt.dll"
exit $fail
