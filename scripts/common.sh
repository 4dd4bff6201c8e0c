# Shared by scripts/run and scripts/test: installs what is missing on a
# Debian 12 machine, picks the Wine that this machine can execute, and builds.
set -euo pipefail

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

need_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            $sudo dpkg --add-architecture i386
        fi
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

install_dependencies() {
    need_packages cmake make g++ googletest \
        g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix \
        wine wine64 wine32:i386 xvfb xauth xdotool x11-utils imagemagick
}

# The Windows build that Wine can run here. 32-bit Wine needs a kernel that
# executes 32-bit programs; where it cannot, the 64-bit build of the same
# sources runs instead.
pick_wine() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        WIN_ARCH=i686
        WINE=/usr/lib/wine/wine
    else
        WIN_ARCH=x86_64
        WINE=/usr/lib/wine/wine64
    fi
    export WIN_ARCH WINE
}

# configure_and_build <build dir> [cmake args...]
configure_and_build() {
    local dir=$1
    shift
    cmake -S "$TOP" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

build_windows() {
    configure_and_build "$TOP/build/win-i686" -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-i686.cmake"
    if [ "$WIN_ARCH" = x86_64 ]; then
        configure_and_build "$TOP/build/win-x86_64" -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-x86_64.cmake"
    fi
    WIN_BUILD="$TOP/build/win-$WIN_ARCH"
    export WIN_BUILD
}

# make_prefix <prefix dir>: a Wine prefix of the right kind, created once.
make_prefix() {
    export WINEPREFIX=$1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX ..."
        if [ "$WIN_ARCH" = i686 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
        "$WINE" wineboot -i >/dev/null 2>&1 || true
        /usr/lib/wine/wineserver -w || true
    fi
}
