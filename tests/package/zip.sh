#!/usr/bin/env bash
# The Windows zip holds exactly the deliverables as deployed, the very files of the build, all
# 32-bit PE: the program and every Tolvanu_*.dll plug-in of the build's bin/ in one folder, the
# Winamp component and its note in winamp/, the user's guide as README.txt.
#   zip.sh PACKAGE.zip BUILD_BIN_FOLDER
set -u
zip=$(realpath "${1:?usage: zip.sh PACKAGE.zip BUILD_BIN_FOLDER}")
bin=$(realpath "${2:?usage: zip.sh PACKAGE.zip BUILD_BIN_FOLDER}")
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
work=$(mktemp -d /tmp/tolvanu-zip.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

unzip -q "$zip" -d "$work" || fail "cannot unpack $zip"
tops=("$work"/*)
[ ${#tops[@]} -eq 1 ] && [ -d "${tops[0]}" ] || fail "the zip does not hold one folder"
top=${tops[0]}

wanted=$( (cd "$bin" && ls Tolvanu.exe Tolvanu_*.dll; echo README.txt; echo winamp/Cordavelle_winamp.w5s
  echo winamp/README.txt) | sort)
held=$(cd "$top" && find . -type f | sed 's,^\./,,' | sort)
[ "$held" = "$wanted" ] || fail "the zip holds"$'\n'"$held"$'\n'"wanted"$'\n'"$wanted"
while IFS= read -r file; do
  [[ $file == *.txt ]] && continue
  cmp -s "$top/$file" "$bin/$(basename "$file")" || fail "$file differs from the build's"
done <<<"$held"
echo "ok: exactly the deliverables: $(tr '\n' ' ' <<<"$held")"

"$scripts/check-pe" "$top" i386 && "$scripts/check-pe" "$top/winamp" i386 || fail "not all 32-bit PE files"
echo "ok: all PE32 i386, the plug-ins export their entry points by name"

for text in README.txt winamp/README.txt; do
  [ "$(grep -c $'\r$' "$top/$text")" -eq "$(wc -l <"$top/$text")" ] || fail "$text has lines without CRLF"
done
grep -q "Security levels" "$top/README.txt" || fail "README.txt is not the user's guide"
echo "ok: the texts have Windows line ends; README.txt is the user's guide"
