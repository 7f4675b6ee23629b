#!/usr/bin/env bash
# clang-tidy over every source file. The Windows sources are parsed as the cross compiler
# sees them (mingw target, its libstdc++), from the win64 build's compile_commands.json;
# the unit tests from the host build's, the fuzz targets from the fuzz build's (clang).
# Any finding fails.
#
# clang-tidy is by far the slowest check, so a file is checked again only when something it
# is checked with has changed since its last clean check: its own text, the text of every
# header of ours it includes (directly or not), its compile command, the configuration, the
# clang-tidy version or this script. The key is made of those contents, not of file times,
# so a fresh clone (no build/) checks everything and a checkout of other files rechecks them.
set -uo pipefail
start=$SECONDS
cd "$(dirname "$0")/.."
cache=build/tidy-cache
mkdir -p "$cache"

mingw_cxx=/usr/lib/gcc/x86_64-w64-mingw32/12-posix/include/c++
win_args=(-p build/win64 --quiet
  --extra-arg-before=--target=x86_64-w64-mingw32
  --extra-arg=-isystem$mingw_cxx --extra-arg=-isystem$mingw_cxx/x86_64-w64-mingw32
  --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-ignored-optimization-argument)
host_args=(-p build/host --quiet --extra-arg=-Wno-unknown-warning-option)
fuzz_args=(-p build/fuzz --quiet --extra-arg=-Wno-unknown-warning-option)

win_files=$(git ls-files -co --exclude-standard 'app/*.cpp' 'autologon/*.cpp' 'settings/*.cpp' \
  'links/*.cpp' 'base/*.cpp' 'json/*.cpp' 'cli/*.cpp' \
  'dsc/*.cpp' 'tests/win32/*.cpp' 'tests/e2e/*.cpp')
host_files=$(git ls-files -co --exclude-standard 'tests/unit/*.cpp')
fuzz_files=$(git ls-files -co --exclude-standard 'tests/fuzz/*.cpp')

# Every header of ours by its file name; includes are written with bare names and found
# through the include path, so a name stands for each header that bears it.
declare -A headers
for h in $(git ls-files -co --exclude-standard '*.h'); do
  headers[${h##*/}]+="$h "
done

# Prints the headers of ours that a file includes, directly or through other headers.
declare -A seen
includes_of() {
  local name candidate
  for name in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$1"); do
    for candidate in ${headers[${name##*/}]:-}; do
      [ -n "${seen[$candidate]:-}" ] && continue
      seen[$candidate]=1
      echo "$candidate"
      includes_of "$candidate"
    done
  done
}

# The compile command of a file in a compile_commands.json as CMake writes it (the "command"
# line comes right before the "file" line of its entry), and the response files it names.
compile_command() {
  local command rsp
  command=$(awk -v file="\"file\": \"$PWD/$2\"" \
    '/"command":/ {command = $0} index($0, file) {print command; exit}' "$1/compile_commands.json")
  echo "$command"
  for rsp in $(grep -o '@[^ ]*\.rsp' <<<"$command"); do
    cat "$1/${rsp#@}" 2>/dev/null
  done
}

common=$( (clang-tidy --version; cat .clang-tidy "$0") | sha256sum | cut -c1-64)
key_of() { # database file
  seen=()
  {
    echo "$common"
    compile_command "$1" "$2"
    for f in "$2" $(includes_of "$2" | sort -u); do
      echo "$f"
      sha256sum <"$f"
    done
  } | sha256sum | cut -c1-64
}

# One line per file still to check: database, key, file.
todo=$(mktemp)
logs=$(mktemp -d)
trap 'rm -rf "$todo" "$logs"' EXIT
total=0
for f in $win_files; do
  total=$((total + 1))
  key=$(key_of build/win64 "$f")
  [ -f "$cache/$key" ] || echo "win $key $f" >>"$todo"
done
for f in $host_files; do
  total=$((total + 1))
  key=$(key_of build/host "$f")
  [ -f "$cache/$key" ] || echo "host $key $f" >>"$todo"
done
for f in $fuzz_files; do
  total=$((total + 1))
  key=$(key_of build/fuzz "$f")
  [ -f "$cache/$key" ] || echo "fuzz $key $f" >>"$todo"
done
checked=$(wc -l <"$todo")

# Each file on its own, so that a clean one is remembered even when another has findings.
# Runs in a fresh bash through xargs: the arguments travel as one string each.
check_one() {
  local kind="$1" key="$2" file="$3" args
  case "$kind" in
  win) args=($TIDY_WIN_ARGS) ;;
  fuzz) args=($TIDY_FUZZ_ARGS) ;;
  *) args=($TIDY_HOST_ARGS) ;;
  esac
  if clang-tidy "${args[@]}" "$file" >"$TIDY_LOGS/$key" 2>&1; then
    touch "$TIDY_CACHE/$key"
  else
    return 1
  fi
}
export -f check_one
export TIDY_CACHE="$cache" TIDY_LOGS="$logs" TIDY_WIN_ARGS="${win_args[*]}" \
  TIDY_HOST_ARGS="${host_args[*]}" TIDY_FUZZ_ARGS="${fuzz_args[*]}"

fail=0
if [ "$checked" -gt 0 ]; then
  xargs -r -P "$(nproc)" -L 1 bash -c 'check_one "$@"' bash <"$todo" || fail=1
fi
if [ "$fail" != 0 ]; then
  cat "$logs"/* | grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter'
  echo "clang-tidy: findings above"
  exit 1
fi
echo "clang-tidy: $total files clean, $checked checked, $((total - checked)) unchanged since their last clean check ($((SECONDS - start)) s)"
