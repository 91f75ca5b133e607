#!/usr/bin/env bash
# The installer and its uninstaller under Wine, in silent mode, in a Wine prefix of this run's
# own, removed after it: a copy of a clean prefix made once (with wineboot) in the folder given
# by --prefixes, one per Wine version. In order:
#   1. refusals that write nothing: a folder without winamp.exe (exit 2), a running player (3);
#   2. an install into the folder the player's registry key names, with its uninstall entry;
#   3. the installed DLL at work in the stand-in player;
#   4. an earlier release installed with /D= into a second player folder, then this release over
#      it: files replaced, plugin.ini and the unsaved-sheet recovery files untouched;
#   5. uninstalls: refused while the player runs (3); the first folder through a copy of its
#      uninstaller, the second through the command its uninstall entry gives; plugin.ini loses
#      its [LUMO] section and nothing else, the plug-in's own settings in the application-data
#      folder go, recovery files stay in both folders.
# Every failed check prints a line starting with FAIL; the script exits 1 if there was one.
set -uo pipefail

usage() {
  echo "usage: $0 --setup EXE --version V --dll DLL --notes TXT --older-setup EXE" \
       "--older-version V --older-dll DLL --older-notes TXT --player EXE --window EXE" \
       "--prefixes DIR" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case "$1" in
    --setup) SETUP=$2 ;; --version) VERSION=$2 ;; --dll) DLL=$2 ;; --notes) NOTES=$2 ;;
    --older-setup) OLD_SETUP=$2 ;; --older-version) OLD_VERSION=$2 ;;
    --older-dll) OLD_DLL=$2 ;; --older-notes) OLD_NOTES=$2 ;;
    --player) PLAYER=$2 ;; --window) WINDOW=$2 ;; --prefixes) PREFIXES=$2 ;;
    *) usage ;;
  esac
  shift 2 || usage
done
for v in SETUP VERSION DLL NOTES OLD_SETUP OLD_VERSION OLD_DLL OLD_NOTES PLAYER WINDOW PREFIXES; do
  [ -n "${!v:-}" ] || usage
done
for f in "$SETUP" "$DLL" "$NOTES" "$OLD_SETUP" "$OLD_DLL" "$OLD_NOTES" "$PLAYER" "$WINDOW"; do
  [ -f "$f" ] || { echo "FAIL: $f does not exist"; exit 1; }
done

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
started=$(date +%s)
WORK=$(mktemp -d /tmp/lumo-installer-test.XXXXXX)
# Under CTest (scripts/test.sh) a display is already there.
if [ -n "${DISPLAY:-}" ]; then export LUMO_KEEP_DISPLAY=1; else unset LUMO_KEEP_DISPLAY; fi
WINDOW_PID=""
cleanup() {
  if [ -n "$WINDOW_PID" ]; then kill "$WINDOW_PID" 2>/dev/null; wait "$WINDOW_PID" 2>/dev/null; fi
  stopDisplay
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The clean prefix, made once for this Wine (startDisplay makes it with wineboot -i and sets
# the driver's Managed=N); it is only ever copied, never run in.
CLEAN=$PREFIXES/clean-$(wine --version | tr -c 'A-Za-z0-9.\n' '_')
if [ ! -f "$CLEAN/.complete" ]; then
  rm -rf "$CLEAN"
  mkdir -p "$PREFIXES"
  export WINEPREFIX=$CLEAN
  startDisplay
  stopDisplay
  [ -d "$CLEAN/drive_c/windows" ] || { echo "FAIL: wineboot made no prefix in $CLEAN"; exit 1; }
  touch "$CLEAN/.complete"
fi
# A prefix of its own: the installers write to the registry and to C:, and the other tests'
# prefix stays as it was. Files are hard links to the clean prefix's (Wine never rewrites its
# system files in place), except the registry and the other files beside drive_c, which Wine
# rewrites: those are copies.
export WINEPREFIX=$WORK/prefix
cp -al "$CLEAN" "$WINEPREFIX"
for f in "$WINEPREFIX"/* "$WINEPREFIX"/.update-timestamp; do
  [ -f "$f" ] && cp --remove-destination "$CLEAN/${f##*/}" "$f"
done
rm -f "$WINEPREFIX/.complete"
startDisplay
C=$WINEPREFIX/drive_c
[ -d "$C/windows" ] || { echo "FAIL: no prefix in $WINEPREFIX"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expectEqual() {  # what, actual, expected
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}
expectSameFile() {  # what, actual file, expected file
  if [ ! -f "$2" ]; then fail "$1: $2 is missing"
  elif ! cmp -s "$2" "$3"; then fail "$1: $2 differs from $3"; fi
}
expectGone() {  # what, path
  [ ! -e "$2" ] || fail "$1: $2 is still there"
}

# Runs a Windows program, prints and keeps its exit code in RC.
run() {  # label, program, arguments...
  local label=$1; shift
  timeout 120 wine "$@" >"$WORK/out.txt" 2>"$WORK/err.txt"
  RC=$?
  echo "exit code $RC: $label"
}

UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\LumoMarker'
# One value as text: REG_SZ as it is, REG_DWORD in decimal; empty when missing.
regValue() {  # key, name
  local line
  line=$(wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
         sed -n "s/^    $2    \(REG_[A-Z_]*\)    /\1 /p")
  case "$line" in
    REG_DWORD\ *) echo $(( ${line#REG_DWORD } )) ;;
    *) echo "${line#* }" ;;
  esac
}
keyExists() { wine reg query "$1" >/dev/null 2>&1; }

# What "nothing written" is compared on: every file and folder on C: (the temporary folder's
# own time aside, which the installer's start-up touches), the current user's software keys and
# the machine's uninstall entries.
snapshot() {
  find "$C" -path "$C/users/*/Temp" -printf '%y %P\n' -o -printf '%y %P %s %T@\n' | sort
  wine reg query 'HKCU\Software' /s | tr -d '\r'
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r'
}
expectNothingWritten() {  # what
  snapshot >"$WORK/after.txt"
  if ! diff "$WORK/before.txt" "$WORK/after.txt" >"$WORK/diff.txt"; then
    fail "$1 wrote something:"
    head -20 "$WORK/diff.txt"
  fi
}

# The running player: a window of the player's class, from a helper program.
startPlayerWindow() {
  wine "$WINDOW" 120 >"$WORK/window.txt" 2>&1 &
  WINDOW_PID=$!
  for _ in $(seq 1 200); do
    grep -q READY "$WORK/window.txt" 2>/dev/null && return 0
    kill -0 "$WINDOW_PID" 2>/dev/null || break
    sleep 0.1
  done
  fail "the player window helper did not start: $(cat "$WORK/window.txt")"
}
stopPlayerWindow() {
  kill "$WINDOW_PID" 2>/dev/null
  wait "$WINDOW_PID" 2>/dev/null
  WINDOW_PID=""
}

# Checks the uninstall entry against an install of VERSION into PLUGINS (a Windows path).
expectUninstallEntry() {  # what, version, plugins folder (Windows path), same (Unix path)
  local uninstaller="$3\\lumomarker-uninstall.exe" size
  expectEqual "$1: DisplayName" "$(regValue "$UNINSTALL_KEY" DisplayName)" "LumoMarker"
  expectEqual "$1: DisplayVersion" "$(regValue "$UNINSTALL_KEY" DisplayVersion)" "$2"
  expectEqual "$1: Publisher" "$(regValue "$UNINSTALL_KEY" Publisher)" "LumoMarker"
  expectEqual "$1: UninstallString" "$(regValue "$UNINSTALL_KEY" UninstallString)" \
    "\"$uninstaller\""
  expectEqual "$1: QuietUninstallString" "$(regValue "$UNINSTALL_KEY" QuietUninstallString)" \
    "\"$uninstaller\" /S"
  expectEqual "$1: InstallLocation" "$(regValue "$UNINSTALL_KEY" InstallLocation)" "$3"
  expectEqual "$1: NoModify" "$(regValue "$UNINSTALL_KEY" NoModify)" 1
  expectEqual "$1: NoRepair" "$(regValue "$UNINSTALL_KEY" NoRepair)" 1
  # The three installed files, rounded up to whole KB.
  size=$(cat "$4/gen_lumo.dll" "$4/gen_lumo.txt" "$4/lumomarker-uninstall.exe" 2>/dev/null | wc -c)
  expectEqual "$1: EstimatedSize (KB)" "$(regValue "$UNINSTALL_KEY" EstimatedSize)" \
    $(( (size + 1023) / 1024 ))
}

echo "installer $(basename "$SETUP"): $(stat -c %s "$SETUP") bytes;" \
     "older $(basename "$OLD_SETUP"): $(stat -c %s "$OLD_SETUP") bytes"

# Two player folders (an empty winamp.exe is all the installer looks for), the first one named
# by the player's registry key, and a folder that is no player.
wine reg add 'HKCU\Software\Winamp' /ve /d 'C:\Winamp' /f >/dev/null 2>&1
ONE=$C/Winamp
TWO="$C/Players/Winamp Two"
mkdir -p "$ONE" "$TWO" "$C/NotAPlayer"
: >"$ONE/winamp.exe"
: >"$TWO/winamp.exe"
echo "not a player" >"$C/NotAPlayer/readme.txt"

# --- 1. Refusals -------------------------------------------------------------------------------
snapshot >"$WORK/before.txt"
run "setup into a folder without winamp.exe" "$SETUP" /S '/D=C:\NotAPlayer'
expectEqual "setup into a folder without winamp.exe: exit code" $RC 2
expectNothingWritten "setup into a folder without winamp.exe"

startPlayerWindow
snapshot >"$WORK/before.txt"
run "setup while the player runs" "$SETUP" /S
expectEqual "setup while the player runs: exit code" $RC 3
stopPlayerWindow
expectNothingWritten "setup while the player runs"

# --- 2. Install into the folder of the registry key ---------------------------------------------
run "setup, folder from the registry" "$SETUP" /S
expectEqual "setup, folder from the registry: exit code" $RC 0
expectSameFile "installed DLL" "$ONE/Plugins/gen_lumo.dll" "$DLL"
expectSameFile "installed release notes" "$ONE/Plugins/gen_lumo.txt" "$NOTES"
[ -s "$ONE/Plugins/lumomarker-uninstall.exe" ] || fail "no uninstaller in $ONE/Plugins"
expectUninstallEntry "install from the registry key" "$VERSION" 'C:\Winamp\Plugins' "$ONE/Plugins"

# --- 3. The installed DLL works in the player ----------------------------------------------------
run "stand-in player with the installed DLL" "$PLAYER" 'C:\Winamp\Plugins\gen_lumo.dll'
expectEqual "stand-in player: exit code" $RC 0
grep -q "^TRACK 01 AUDIO" "$WORK/out.txt" ||
  fail "the stand-in player's sheet has no TRACK 01 AUDIO:" \
       "$(head -c 400 "$WORK/out.txt") $(head -c 400 "$WORK/err.txt")"
grep -q "^\[LUMO\]" "$ONE/Plugins/plugin.ini" 2>/dev/null ||
  fail "the plug-in wrote no [LUMO] section to $ONE/Plugins/plugin.ini"

# --- 4. Upgrade from an earlier release, installed with /D= --------------------------------------
# /D= must be the last argument, unquoted: Wine quotes an argument that holds a blank, so the
# folder goes as two words and the installer sees the command line a user would type.
run "older setup with /D=" "$OLD_SETUP" /S '/D=C:\Players\Winamp' 'Two'
expectEqual "older setup with /D=: exit code" $RC 0
expectSameFile "older DLL" "$TWO/Plugins/gen_lumo.dll" "$OLD_DLL"
expectSameFile "older release notes" "$TWO/Plugins/gen_lumo.txt" "$OLD_NOTES"
expectUninstallEntry "older install with /D=" "$OLD_VERSION" 'C:\Players\Winamp Two\Plugins' \
  "$TWO/Plugins"

# plugin.ini as the player keeps it: other plug-ins' sections around [LUMO], blanks around '=',
# a comment, a line ending in LF alone, bytes that are not ASCII, a line longer than the
# installer's line buffer (1023 characters) whose continuation looks like a section header, and
# no line break at the end. Each would change if the file were rewritten in another form.
long_value=$(printf 'a%.0s' $(seq 1 1018))
printf '[gen_tray]\r\nvolume = 5\r\n; tray settings\r\n\r\n' >"$WORK/ini-before"
printf '[LUMO]\r\nenabled=1\r\ncurrentpageindex=2\r\n%s\r\n\r\n' \
  'advformatstring=PERFORMER "%artist%"\r\nTITLE "%title%"' >"$WORK/ini-lumo"
printf '[Caf\xe9 \xc3\xa9]\r\n  key =  spaced value \r\nlf=only\n%s\r\nx=1\r\n[Last]\r\nend=1' \
  "long=$long_value[LUMO]" >"$WORK/ini-after"
cat "$WORK/ini-before" "$WORK/ini-lumo" "$WORK/ini-after" >"$WORK/plugin.ini"
cat "$WORK/ini-before" "$WORK/ini-after" >"$WORK/plugin-without-lumo.ini"
cp "$WORK/plugin.ini" "$TWO/Plugins/plugin.ini"
printf 'TITLE "Unsaved"\r\nFILE "mix.mp3" MP3\r\nTRACK 01 AUDIO\r\n' >"$WORK/unsaved.cue"
printf 'TITLE "Damaged"\r\nTRACK 01 AU' >"$WORK/damaged.cue"
cp "$WORK/unsaved.cue" "$TWO/Plugins/lumo_unsaved.cue"
cp "$WORK/damaged.cue" "$TWO/Plugins/lumo_unsaved-damaged1.cue"
# Where the plug-in keeps its copies and settings when the Plugins folder cannot be written.
OWN=$C/users/$(whoami)/AppData/Roaming/LumoMarker
mkdir -p "$OWN"
cp "$WORK/unsaved.cue" "$OWN/lumo_unsaved-2.cue"
printf '[LUMO]\r\nenabled=1\r\n' >"$OWN/plugin.ini"

run "setup over the older release with /D=" "$SETUP" /S '/D=C:\Players\Winamp' 'Two'
expectEqual "setup over the older release: exit code" $RC 0
expectSameFile "upgraded DLL" "$TWO/Plugins/gen_lumo.dll" "$DLL"
expectSameFile "upgraded release notes" "$TWO/Plugins/gen_lumo.txt" "$NOTES"
expectSameFile "plugin.ini after the upgrade" "$TWO/Plugins/plugin.ini" "$WORK/plugin.ini"
expectSameFile "recovery sheet after the upgrade" "$TWO/Plugins/lumo_unsaved.cue" \
  "$WORK/unsaved.cue"
expectSameFile "damaged recovery sheet after the upgrade" \
  "$TWO/Plugins/lumo_unsaved-damaged1.cue" "$WORK/damaged.cue"
expectUninstallEntry "upgrade" "$VERSION" 'C:\Players\Winamp Two\Plugins' "$TWO/Plugins"

# --- 5. Uninstall --------------------------------------------------------------------------------
# The first folder through a copy of its uninstaller run in place (_?=), which waits for the end
# and gives the exit code. The entry names the second folder's uninstaller, so it must stay.
mkdir -p "$C/uninstaller-copy"
cp "$ONE/Plugins/lumomarker-uninstall.exe" "$C/uninstaller-copy/"
startPlayerWindow
run "uninstall while the player runs" "$C/uninstaller-copy/lumomarker-uninstall.exe" /S \
  '_?=C:\Winamp\Plugins'
expectEqual "uninstall while the player runs: exit code" $RC 3
stopPlayerWindow
[ -f "$ONE/Plugins/gen_lumo.dll" ] && [ -f "$ONE/Plugins/plugin.ini" ] ||
  fail "the uninstaller refused but removed files from $ONE/Plugins"

run "uninstall, first folder" "$C/uninstaller-copy/lumomarker-uninstall.exe" /S \
  '_?=C:\Winamp\Plugins'
expectEqual "uninstall, first folder: exit code" $RC 0
for f in gen_lumo.dll gen_lumo.txt lumomarker-uninstall.exe; do
  expectGone "uninstall, first folder" "$ONE/Plugins/$f"
done
# Its plugin.ini held nothing but the plug-in's [LUMO] section: the file goes.
expectGone "uninstall, plugin.ini that held only [LUMO]" "$ONE/Plugins/plugin.ini"
[ -d "$ONE/Plugins" ] && [ -f "$ONE/winamp.exe" ] || fail "uninstall removed the player's folders"
expectEqual "uninstall, first folder: the other folder's entry stays" \
  "$(regValue "$UNINSTALL_KEY" UninstallString)" \
  '"C:\Players\Winamp Two\Plugins\lumomarker-uninstall.exe"'

# The second folder through its entry's quiet uninstall command, as the system runs it. That
# uninstaller copies itself to the temporary folder, starts the copy and returns; the copy
# deletes the uninstaller last, so its disappearance means the work is done.
quiet=$(regValue "$UNINSTALL_KEY" QuietUninstallString)
if [[ "$quiet" =~ ^\"([^\"]+)\"\ (.*)$ ]]; then
  run "uninstall, second folder, from the entry" "${BASH_REMATCH[1]}" ${BASH_REMATCH[2]}
  expectEqual "uninstall, second folder: exit code" $RC 0
  for _ in $(seq 1 300); do
    [ -e "$TWO/Plugins/lumomarker-uninstall.exe" ] || break
    sleep 0.1
  done
else
  fail "QuietUninstallString '$quiet' is not a quoted program and its arguments"
fi
for f in gen_lumo.dll gen_lumo.txt lumomarker-uninstall.exe plugin.ini.lumo-new; do
  expectGone "uninstall, second folder" "$TWO/Plugins/$f"
done
expectSameFile "plugin.ini after the uninstall (only [LUMO] removed)" "$TWO/Plugins/plugin.ini" \
  "$WORK/plugin-without-lumo.ini"
expectSameFile "recovery sheet after the uninstall" "$TWO/Plugins/lumo_unsaved.cue" \
  "$WORK/unsaved.cue"
expectSameFile "damaged recovery sheet after the uninstall" \
  "$TWO/Plugins/lumo_unsaved-damaged1.cue" "$WORK/damaged.cue"
expectSameFile "recovery sheet in the application-data folder after the uninstall" \
  "$OWN/lumo_unsaved-2.cue" "$WORK/unsaved.cue"
expectGone "uninstall, the plug-in's own settings" "$OWN/plugin.ini"
[ -f "$TWO/winamp.exe" ] || fail "uninstall removed $TWO/winamp.exe"
keyExists "$UNINSTALL_KEY" && fail "the uninstall entry $UNINSTALL_KEY is still there"

echo "installer tests: $failures failed, $(( $(date +%s) - started )) s"
[ "$failures" -eq 0 ]
