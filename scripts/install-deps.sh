#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a Debian 12 machine.
# Run as root (or through sudo); safe to run again: it only adds what is missing.
set -euo pipefail

packages=(
    cmake make ninja-build git curl ca-certificates clang-format
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    googletest
    wine wine32:i386 wine64
    # Wine's CNG (bcrypt.dll) does its ECDSA through GnuTLS, which Wine only recommends.
    libgnutls30 libgnutls30:i386
    # Release signing: the publisher's libcrypto, and openssl for keys and signatures.
    openssl libssl-dev
    xvfb xauth xdotool imagemagick x11-utils
    fonts-wqy-microhei
    nginx-light
    clang libclang-rt-14-dev
    locales
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    need_update=1
fi
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ] || [ "${need_update:-0}" = 1 ]; then
    echo "install-deps: installing ${missing[*]:-(package lists only)}"
    export DEBIAN_FRONTEND=noninteractive
    as_root apt-get update -qq
    if [ ${#missing[@]} -gt 0 ]; then
        as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
fi

# Wine takes the players' ANSI code page (936) from the locale's name alone, but it can only
# name files with Chinese characters on the Linux side when the locale really exists.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    echo "install-deps: generating the zh_CN.UTF-8 locale"
    as_root sh -c "grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen"
    as_root locale-gen >/dev/null
fi

# nginx-light enables and starts a system-wide server on port 80 when it is installed;
# the project starts its own instances on loopback, so the system one is not wanted.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet nginx 2>/dev/null; then
    as_root systemctl stop nginx || true
fi
echo "install-deps: all packages present"
