# Shared by the tools: the packages the project needs, builds, and the Wine environment in
# which the win64 tests run. Source it; it expects ROOT to be set by the caller.

WINE=/usr/lib/wine/wine64            # the 64-bit loader (the "wine" wrapper tries 32-bit first)
WINESERVER=/usr/lib/wine/wineserver

PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev   # host build, sanitizers, libFuzzer
  libgtest-dev googletest libbenchmark-dev         # GoogleTest (library and sources), Benchmark
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64                        # the two Windows cross compilers
  wine64 xvfb xauth                                # running the win64 build
  fonts-dejavu-core fonts-wine                     # the TrueType and raster faces of the tests
)

say() { printf '%s\n' "$*" >&2; }

# Installs whatever of the given packages is missing (apt-get update first, only then).
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    say "missing packages: ${missing[*]} (run as root to install them)"
    return 1
  fi
  say "installing: ${missing[*]}"
  timeout 600 apt-get update -q >/dev/null || return 1
  DEBIAN_FRONTEND=noninteractive timeout 1800 \
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null || return 1
}

# Configures (once) and builds one preset; output goes to build/<preset>.log.
build_preset() {
  local preset=$1 log="$ROOT/build/$1.log"
  mkdir -p "$ROOT/build"
  {
    if [ ! -f "$ROOT/build/$preset/build.ninja" ]; then
      timeout 600 cmake --preset "$preset" -S "$ROOT" || return 1
    fi
    timeout 1800 cmake --build "$ROOT/build/$preset" -j"$(nproc)"
  } >"$log" 2>&1 || { tail -n 40 "$log" >&2; return 1; }
}

# Starts a private Xvfb display and a persistent wineserver for the prefix inside the given
# build folder, creating the prefix on first use. wine_stop ends both again.
XVFB_PID=
wine_start() {
  local build=$1 n
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  for n in $(seq 90 250); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    XVFB_PID=$!
    break
  done
  [ -n "$XVFB_PID" ] || { say "no free X display"; return 1; }
  export DISPLAY=":$n"
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  # Wine's background services inherit the pipes of the first Wine process: keep them off
  # ours, or whoever reads our output waits for them forever.
  timeout 60 "$WINESERVER" -p </dev/null >/dev/null 2>&1
  timeout 300 "$WINE" wineboot -i </dev/null >/dev/null 2>&1 || {
    say "wineboot failed"
    return 1
  }
}

wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then
    timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
