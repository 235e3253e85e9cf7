#!/usr/bin/env bash
# Makes the release zip with cpack and checks its contents: exactly the files
# that go into the game folder, flat, Ondrelle.ini beside Ondrelle.asi, the
# texts named as Ondrelle's own (a mod manager puts an archive's root files
# into the game folder, where a CHANGELOG.txt of another mod's would clash),
# the very plug-in that was built, a changelog entry for the version, and
# texts with Windows line ends, the readme naming the version. Usage: package_check.sh BUILD_DIR VERSION CHANGELOG
set -u
build=$1
version=$2
changelog=$3
zip="$build/Ondrelle-$version-win64.zip"
rm -f "$zip"
(cd "$build" && cpack -G ZIP >/dev/null) || { echo "cpack failed"; exit 1; }
[ -f "$zip" ] || { echo "no $zip"; exit 1; }

listing=$(cd "$build" && cmake -E tar tf "$zip" | sed 's|^\./||' | sort)
expected=$(printf '%s\n' Ondrelle-README.txt Ondrelle.asi Ondrelle.ini ondrelle-check.exe Ondrelle-CHANGELOG.txt \
  Ondrelle-LICENSE.txt | sort)
if [ "$listing" != "$expected" ]; then
  echo "FAIL: the zip holds:"; echo "$listing"; exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip") || exit 1
cmp -s "$work/Ondrelle.asi" "$build/Ondrelle.asi" || { echo "FAIL: the zipped plug-in is not the built one"; exit 1; }
cmp -s "$work/Ondrelle.ini" "$build/Ondrelle.ini" || { echo "FAIL: the zipped settings are not the default ones"; exit 1; }
grep -q '^## '"$version"'$' "$changelog" || { echo "FAIL: CHANGELOG.md has no entry for $version"; exit 1; }
# The texts players open in Notepad: Windows line ends only.
for text in Ondrelle-README.txt Ondrelle-CHANGELOG.txt Ondrelle-LICENSE.txt Ondrelle.ini; do
  lines=$(grep -c '' "$work/$text")
  crlf=$(grep -c $'\r$' "$work/$text")
  [ "$lines" -gt 0 ] && [ "$lines" = "$crlf" ] || { echo "FAIL: $text: $crlf of $lines lines end in CR LF"; exit 1; }
done
head -n 1 "$work/Ondrelle-README.txt" | grep -q "^Ondrelle $version"$'\r$' || { echo "FAIL: the readme does not name $version"; exit 1; }
grep -q "^## $version"$'\r$' "$work/Ondrelle-CHANGELOG.txt" || { echo "FAIL: Ondrelle-CHANGELOG.txt has no entry for $version"; exit 1; }
# The package's changelog tells of nothing the package lacks.
if grep -nE 'ondrelle-preview|From source|<!--' "$work/Ondrelle-CHANGELOG.txt"; then
  echo "FAIL: Ondrelle-CHANGELOG.txt tells of what the package does not hold"; exit 1
fi
grep -q 'ondrelle-check.exe., double-clicked' "$work/Ondrelle-CHANGELOG.txt" || { echo "FAIL: Ondrelle-CHANGELOG.txt lost a player's bullet"; exit 1; }
grep -q "^MIT License"$'\r$' "$work/Ondrelle-LICENSE.txt" || { echo "FAIL: Ondrelle-LICENSE.txt is not the MIT licence"; exit 1; }
echo "release package $zip: as expected"
