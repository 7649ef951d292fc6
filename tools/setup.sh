# Shared by ./run, ./test, ./fuzz and .ci/run: install the Debian packages that are missing, then
# configure and build. Sourced, not executed.

OPTALIS_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev qt6-base-private-dev qt6-base-dev-tools libgl-dev
                  qt6-l10n-tools qt6-translations-l10n fonts-liberation libbenchmark-dev
                  xvfb xauth desktop-file-utils appstream)
# Only the sanitizer build and the fuzzers need clang, its sanitizer runtimes and the symbolizer.
OPTALIS_SANITIZE_PACKAGES=(clang libclang-rt-14-dev llvm)

# Arguments: extra packages, needed beside the ordinary ones.
optalis_install_missing() {
    local missing=()
    for p in "${OPTALIS_PACKAGES[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        export DEBIAN_FRONTEND=noninteractive
        apt-get install -y --no-install-recommends "${missing[@]}" \
            || { apt-get update && apt-get install -y --no-install-recommends "${missing[@]}"; } \
            || { echo "Could not install: ${missing[*]}" >&2; return 1; }
    elif command -v sudo >/dev/null 2>&1; then
        sudo apt-get install -y --no-install-recommends "${missing[@]}" \
            || { sudo apt-get update && sudo apt-get install -y --no-install-recommends "${missing[@]}"; } \
            || { echo "Could not install: ${missing[*]}" >&2; return 1; }
    else
        echo "These Debian packages are missing; install them as root: apt-get install ${missing[*]}" >&2
        return 1
    fi
}

optalis_build() {
    local build_dir="$1"
    shift
    cmake -S "$OPTALIS_ROOT" -B "$build_dir" -G Ninja "$@" >/dev/null || return 1
    cmake --build "$build_dir" || return 1
}

# The whole project and its tests with clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# with the libFuzzer programs of fuzz/. ccache is used when it is there. -O1 and line tables only
# build quicker than -O2 -g, and the reports still give file and line. Warnings are errors in the
# ordinary build only: clang's own warnings must not stop the sanitizers from running.
optalis_build_sanitized() {
    local build_dir="$1"
    local launcher=()
    command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    optalis_build "$build_dir" -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" -DOPTALIS_WERROR=OFF \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
        -DOPTALIS_SANITIZE=address,undefined -DOPTALIS_FUZZ=ON -DOPTALIS_BENCHMARKS=OFF
}

# Sanitizer reports end the program with a stack; fuzz/lsan.supp says which leaks are not ours.
optalis_sanitizer_environment() {
    export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$OPTALIS_ROOT/fuzz/lsan.supp:print_suppressions=0}"
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_stack_use_after_return=1:strict_string_checks=1}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
}
