#!/usr/bin/env bash
# Installs what the game needs (scripts/setup.sh), builds the game with its media and catalogues
# alone (preset game, build-game/: no tests, fuzzers or benchmarks; test.sh builds those in
# build/) and starts it from the folder game/. Arguments go to the game, for example
#   ./run.sh --window
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=$top/build-game
game_dir=$top/game

# --help and --version print what they are asked for, no build output.
help=false quiet=false
for arg in "$@"; do
  case $arg in
    --help | -h) help=true quiet=true ;;
    --version) quiet=true ;;
  esac
done

"$top/scripts/setup.sh"
cd "$top"
mkdir -p "$build"
log=$build/run-build.log
built=$build/run-built.stamp
# Configured once; the build itself runs CMake again when a CMakeLists.txt changed. When no
# source changed since the last build there is nothing to do, which make alone would take
# seconds to find out.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake --preset game >"$log" 2>&1 || { cat "$log" >&2; exit 1; }
fi
if [ ! -f "$built" ] || [ -n "$(find src tools art po cmake CMakeLists.txt CMakePresets.json \
    -newer "$built" -print -quit)" ]; then
  touch "$built.next"  # sources changed while building count for the next run
  if $quiet; then
    cmake --build --preset game -j "$(nproc)" >"$log" 2>&1 || { tail -n 40 "$log" >&2; exit 1; }
  else
    cmake --build --preset game -j "$(nproc)"
  fi
  mv "$built.next" "$built"
fi

# The game folder is a portable game: the executable, its media and catalogues, and the highscore
# list and error log it writes, which stay. Only what changed is copied, each part put in place
# whole (a running game keeps its executable).
mkdir -p "$game_dir"
for part in tavi media locale; do
  if ! diff -rq "$build/$part" "$game_dir/$part" >/dev/null 2>&1; then
    rm -rf "$game_dir/$part.new"
    cp -r "$build/$part" "$game_dir/$part.new"
    rm -rf "$game_dir/$part"
    mv "$game_dir/$part.new" "$game_dir/$part"
  fi
done
cd "$game_dir"

$help || exec ./tavi "$@"
./tavi "$@"
# What run.sh adds, in the language the game chose for its usage: --lang, else the first entry of
# the locale whose language has a catalogue (pt_BR.UTF-8: pt_BR, else pt), else German.
language=de
list=${LANGUAGE:-}
for entry in ${list//:/ } "${LC_ALL:-}" "${LC_MESSAGES:-}" "${LANG:-}"; do
  code=${entry%%[.@]*}
  for candidate in "$code" "${code%%_*}"; do
    if [ -n "$candidate" ] && [ -f "$game_dir/locale/$candidate/LC_MESSAGES/tavi.mo" ]; then
      language=$candidate
      break 2
    fi
  done
done
previous=
for arg in "$@"; do
  if [ "$previous" = --lang ]; then language=$arg; fi
  case $arg in --lang=*) language=${arg#--lang=} ;; esac
  previous=$arg
done
say() {
  if [ "$language" = de ]; then
    printf '%s\n' "$1"
  else
    LANGUAGE=$language LC_ALL=C.UTF-8 TEXTDOMAINDIR="$game_dir/locale" gettext tavi "$1" && echo
  fi
}
echo
say "run.sh installiert, was das Spiel braucht, baut es in build-game/ und startet es aus dem Ordner game/, der die Highscore-Liste (Highscore.dat) und das Fehlerprotokoll (Error.txt) über neue Versionen hinweg behält." | fold -s -w 100
