# shellcheck shell=bash disable=SC2034
# Shared by the scripts of tools/windows: where the cross Qt lives and what the cross build needs.
OPTALIS_QT_WIN="${OPTALIS_QT_WIN:-/var/cache/optalis/qt-6.4.2-mingw}"
OPTALIS_QT_DEBIAN_VERSION="${OPTALIS_QT_DEBIAN_VERSION:-6.4.2+dfsg-10}"
OPTALIS_QT_SVG="${OPTALIS_QT_SVG:-1}"
OPTALIS_QTSVG_DEBIAN_VERSION="${OPTALIS_QTSVG_DEBIAN_VERSION:-6.4.2-2}"
OPTALIS_QTSVG_TAG="${OPTALIS_QTSVG_TAG:-v6.4.2}"
OPTALIS_QTSVG_GIT="${OPTALIS_QTSVG_GIT:-}"
OPTALIS_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine64 nsis
    dpkg-dev cmake ninja-build perl python3 qt6-base-dev-tools qt6-l10n-tools
    qt6-translations-l10n fonts-liberation unzip xvfb xauth x11-utils xdotool imagemagick)

optalis_windows_install_missing() {
    local missing=() p
    for p in "${OPTALIS_WINDOWS_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}" || {
        "${sudo[@]}" apt-get update && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y --no-install-recommends "${missing[@]}"
    }
}

OPTALIS_WINE="${OPTALIS_WINE:-/usr/lib/wine/wine64}"
OPTALIS_WINESERVER="${OPTALIS_WINESERVER:-/usr/lib/wine/wineserver64}"
OPTALIS_WINE_DEFAULT_PREFIX="${XDG_CACHE_HOME:-$HOME/.cache}/optalis/wine"
OPTALIS_MINGW_RUNTIME_DIRS=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

# Wine's search path for DLLs: the cross Qt's bin/ and the MinGW runtime, as Windows paths.
optalis_windows_dll_path() {
    local dirs=("$OPTALIS_QT_WIN/bin" "${OPTALIS_MINGW_RUNTIME_DIRS[@]}") out="" d
    for d in "${dirs[@]}"; do
        out+="${out:+;}Z:${d//\//\\}"
    done
    printf '%s' "$out"
}

# True when the cross Qt has every module Optalis links (Qt SVG comes from a second source).
optalis_windows_qt_ready() {
    [ -f "$OPTALIS_QT_WIN/.complete" ] \
        && [ -f "$OPTALIS_QT_WIN/lib/cmake/Qt6Svg/Qt6SvgConfig.cmake" ]
}
