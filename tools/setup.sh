# Shared by ./run and ./test: install the Debian packages that are missing, then configure and build.
# Sourced, not executed.

OPTALIS_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
                  qt6-translations-l10n fonts-liberation libbenchmark-dev
                  xvfb xauth desktop-file-utils appstream)

optalis_install_missing() {
    local missing=()
    for p in "${OPTALIS_PACKAGES[@]}"; do
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
