#!/usr/bin/env bash
# The release package on a clean machine: a new, empty Wine prefix, the zip unpacked into its
# "C:\Program Files\Morvanta Pro", and the programs run from there as a user runs them: the
# versions, a clean scan, a scan that finds a file the shipped database names and the EICAR
# test file started by a Run value, the quarantine, and the main window with a picture.
#
#   package_smoke_test.sh ZIP PROBE.exe WORK PICTURE.png VERSION
#
# WORK (under build/) holds the throwaway prefix, which is removed at the end whatever
# happens. Prints how long the unpacking and the first scan took; passes or fails on what
# the programs did, never on the time.
set -euo pipefail
zip=$1 probe_file=$2 work=$3 picture=$4 version=$5
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)

export MORVANTA_WINEPREFIX=$work/prefix
session() { "$scripts/wine-session" "$@"; }
run() { "$scripts/wine-run" "$@"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
probe=$(windows_path "$probe_file")
cleanup() {
  session stop || true
  rm -rf "$work/prefix" "$work/prefix.session"
}
rm -rf "$work"
mkdir -p "$work"
trap cleanup EXIT

echo "-- a new Wine prefix in $MORVANTA_WINEPREFIX"
session start >/dev/null
drive_c=$MORVANTA_WINEPREFIX/drive_c
[ -d "$drive_c/Program Files" ] || fail "the new prefix has no Program Files"
[ ! -e "$drive_c/Program Files/Morvanta Pro" ] || fail "the new prefix is not empty of the program"
folder='C:\Program Files\Morvanta Pro'
unpacked="$drive_c/Program Files/Morvanta Pro"

echo "-- unpacking $(basename "$zip") ($(stat -c %s "$zip") bytes)"
start=$(date +%s%N)
python3 -m zipfile -e "$zip" "$unpacked"
unzipped=$(date +%s%N)
for f in morvanta.exe morvanta-cli.exe morvanta-sig.exe files.dat RegBase.rgk README.txt \
         Languages/Deutsch.vlng Licenses/bzip2.txt Licenses/Crypto++.txt \
         Licenses/mingw-w64.txt Licenses/gcc-runtime.txt Licenses/GPL-3.txt; do
  [ -s "$unpacked/$f" ] || fail "the package lacks $f"
done
cli="$folder\\morvanta-cli.exe"

echo "-- morvanta-cli --version"
out=$(run "$cli" --version | tr -d '\r') || fail "morvanta-cli --version exited $?"
echo "$out"
[ "$out" = "morvanta-cli (Morvanta Pro) $version" ] || fail "morvanta-cli --version: $out"

echo "-- morvanta-cli scan (clean)"
set +e
out=$(run "$cli" scan | tr -d '\r'); status=${PIPESTATUS[0]}
set -e
scanned=$(date +%s%N)
echo "$out"
[ "$status" = 0 ] || fail "the scan of the clean machine exited $status"
grep -qx 'Files found: 0' <<<"$out" || fail "the clean scan found something"
awk -v a="$start" -v b="$unzipped" -v c="$scanned" 'BEGIN {
  printf "timing: unzip %.2f s, unzip to a finished first scan %.2f s\n", (b - a) / 1e9, (c - a) / 1e9 }'

echo "-- the other programs' versions and version resources"
out=$(run "$folder\\morvanta-sig.exe" --version | tr -d '\r') || fail "morvanta-sig --version exited $?"
[ "$out" = "morvanta-sig (Morvanta Pro) $version" ] || fail "morvanta-sig --version: $out"
out=$(run "$folder\\morvanta.exe" --version | tr -d '\r') || fail "morvanta.exe --version exited $?"
[ "$out" = "morvanta (Morvanta Pro) $version" ] || fail "morvanta.exe --version: $out"
for name in morvanta morvanta-cli morvanta-sig; do
  out=$(run "$probe" version "$folder\\$name.exe" | tr -d '\r') || fail "$name.exe has no version strings"
  for line in "CompanyName=Quorrin Software" "ProductName=Morvanta Pro" "FileVersion=$version" \
              "ProductVersion=$version" "OriginalFilename=$name.exe"; do
    grep -qxF "$line" <<<"$out" || fail "$name.exe: no $line in:"$'\n'"$out"
  done
  grep -q '^FileDescription=Morvanta Pro .' <<<"$out" || fail "$name.exe: no FileDescription"
done
grep -aq 'requestedExecutionLevel level="requireAdministrator"' "$unpacked/morvanta.exe" ||
  fail "morvanta.exe does not ask for administrator rights"
grep -aq 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$unpacked/morvanta.exe" ||
  fail "morvanta.exe does not ask for common controls 6"
grep -aq '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true' \
  "$unpacked/morvanta.exe" || fail "morvanta.exe is not DPI aware"
for name in morvanta-cli morvanta-sig; do
  grep -aq 'requestedExecutionLevel level="asInvoker"' "$unpacked/$name.exe" ||
    fail "$name.exe does not run as its invoker"
done

echo "-- planted: a file the shipped database names, and the EICAR test file behind a Run value"
# [System32Root] ... [Worm.Blaster.C]:teekids.exe in data/files.txt; the EICAR file's digest
# entry names no path, so only the running-object inventory (the Run value) leads to it.
worm='C:\windows\system32\teekids.exe'
printf 'a planted worm, more than ten bytes' > "$drive_c/windows/system32/teekids.exe"
mkdir -p "$drive_c/ProgramData/Smoke"
printf '%s%s' 'X5O!P%@AP[4\PZX54(P^)7CC)7}$' 'EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*' \
  > "$drive_c/ProgramData/Smoke/started.com"
eicar='C:\ProgramData\Smoke\started.com'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run reg add "$run_key" /v SmokeTest /d "$eicar" /f >/dev/null || fail "cannot write the Run value"

echo "-- morvanta-cli scan (planted)"
set +e
out=$(run "$cli" scan --findings-only | tr -d '\r'); status=${PIPESTATUS[0]}
set -e
echo "$out"
run reg delete "$run_key" /v SmokeTest /f >/dev/null || fail "cannot delete the Run value"
[ "$status" = 1 ] || fail "the scan of the planted machine exited $status"
lower=${out,,}
[ "$(grep -c ' FOUND$' <<<"$out")" = 2 ] || fail "expected two FOUND lines"
[ "$(grep -cxF "${worm,,}: worm.blaster.c found" <<<"$lower")" = 1 ] || fail "the planted worm"
[ "$(grep -cxF "${eicar,,}: eicar-test-file found" <<<"$lower")" = 1 ] || fail "the EICAR file"
rm -f "$drive_c/windows/system32/teekids.exe"

echo "-- quarantine add and restore"
suspect="$drive_c/ProgramData/Smoke/suspect.exe"
printf 'the suspect file'"'"'s own bytes' > "$suspect"
out=$(run "$cli" quarantine add 'C:\ProgramData\Smoke\suspect.exe' | tr -d '\r') ||
  fail "quarantine add exited $?"
echo "$out"
[ -f "$unpacked/Quarantine.info" ] || fail "no Quarantine.info beside the program"
[ -n "$(ls -A "$unpacked/Quarantine")" ] || fail "no stored copy in the Quarantine folder"
! grep -rqF "the suspect file's own bytes" "$unpacked/Quarantine" || fail "the stored copy is plain"
rm -f "$suspect"
out=$(run "$cli" quarantine restore 'C:\ProgramData\Smoke\suspect.exe' | tr -d '\r') ||
  fail "quarantine restore exited $?"
echo "$out"
[ "$(cat "$suspect" 2>/dev/null)" = "the suspect file's own bytes" ] || fail "the restored file differs"
out=$(run "$cli" quarantine list | tr -d '\r') || fail "quarantine list exited $?"
[ -z "$out" ] || fail "the quarantine still lists: $out"
rm -rf "$drive_c/ProgramData/Smoke"

echo "-- morvanta.exe: the main window"
# The update check shortly after start goes to a port of this machine where nothing
# answers, never to the maker's server.
printf '[UpdateServer]\r\nHost=127.0.0.1\r\nPort=9\r\n' > "$unpacked/morvanta.ini"
run "$folder\\morvanta.exe" >/dev/null 2>&1 &
gui=$!
bmp=$work/main-window.bmp
set +e
out=$(run "$probe" window "Morvanta Pro - SE" "$(windows_path "$bmp")" 90 | tr -d '\r')
status=$?
set -e
echo "$out"
[ "$status" = 0 ] || fail "no main window (probe exited $status)"
grep -qixF "image=$folder\\morvanta.exe" <<<"$out" || fail "the window is not the unpacked program's"
mkdir -p "$(dirname "$picture")"
convert "$bmp" "$picture"
echo "picture: $picture"
session stop  # ends the program with the Wine server
wait "$gui" 2>/dev/null || true
width96=$(sed -n 's/^picture=\([0-9]*\)x.*/\1/p' <<<"$out")

echo "-- morvanta.exe on a screen of 144 DPI: the layout scaled by 1.5"
run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null ||
  fail "cannot set the DPI"
session stop  # the new DPI holds from the next start of the Wine server
run "$folder\\morvanta.exe" >/dev/null 2>&1 &
gui=$!
set +e
out=$(run "$probe" window "Morvanta Pro - SE" "$(windows_path "$bmp")" 90 | tr -d '\r')
status=$?
set -e
echo "$out"
[ "$status" = 0 ] || fail "no main window at 144 DPI (probe exited $status)"
picture144=${picture%.png}-144dpi.png
convert "$bmp" "$picture144"
echo "picture: $picture144"
width144=$(sed -n 's/^picture=\([0-9]*\)x.*/\1/p' <<<"$out")
# The frame is the system's; the client area is 1.5 times as wide.
awk -v a="$width96" -v b="$width144" 'BEGIN { r = b / a; printf "width %d -> %d (%.2f)\n", a, b, r
  exit !(r > 1.4 && r < 1.6) }' || fail "the main window did not scale with the DPI"
session stop
wait "$gui" 2>/dev/null || true
echo "package smoke test passed"
