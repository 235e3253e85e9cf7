#!/usr/bin/env bash
# The preview scene's frame table, as a program prints it, against the golden
# table: the native script (ondrelle-preview) and the real plug-in under Wine
# (ondrelle-demo) must both draw exactly this.
# Usage: scene_table_test.sh GOLDEN COMMAND...
set -u
golden=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
WINEDEBUG=-all "$@" 2>/dev/null | tr -d '\r' | sed -n '/^frame  time/,/^$/p' > table.txt
if ! diff "$golden" table.txt; then
  echo "FAIL: the frame table differs from $golden"
  exit 1
fi
echo "frame table as expected"
