#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that Pellimo needs, and only those that are missing.
#   scripts/install-deps.sh          build and run
#   scripts/install-deps.sh --test   build, run and test (Xvfb, xclip, xdotool, a nested Wayland
#                                    compositor, clang for fuzzing, the benchmark tools)
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools libicu-dev
    libxcb-xfixes0-dev
    fonts-ipafont-mincho fonts-ipafont-gothic
    qt6-wayland wl-clipboard
    librsvg2-bin # the PNG icons, drawn from the SVG at build time
    qt6-translations-l10n # Qt's own dialogs and buttons in the user's language
    dpkg-dev file # cpack -G DEB: dependencies found by dpkg-shlibdeps
    qt6-svg-dev libqpdf-dev libpoppler-qt6-dev  # vector stamps, stamping and showing PDF pages
    libnss3-dev # signing with the user's certificates (the NSS database)
)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(xvfb xauth xclip xdotool weston xwayland clang libclang-rt-14-dev libbenchmark-dev time
               libxcb1-dev)
    packages+=(qpdf poppler-utils librsvg2-bin) # PDF and SVG tools the stamp files are checked with
    packages+=(mupdf-tools python3-pikepdf) # more PDF checks
    packages+=(openssl libnss3-tools) # test certificates and databases; checking the signatures
    # PDFs as real producers write them: LibreOffice, Ghostscript, pdfTeX (cairo: poppler-utils)
    packages+=(libreoffice-writer-nogui ghostscript texlive-latex-base)
    packages+=(lintian desktop-file-utils appstream) # checking the .deb
    packages+=(qt6-gtk-platformtheme) # the file dialogs as GNOME shows them (GTK), in the e2e tests
    packages+=(python3-gi gir1.2-gtk-3.0) # a GTK window the stamp is dropped onto, in the e2e tests
    packages+=(locales) # the tests of Qt's translations run under ja_JP.UTF-8
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [[ "${1:-}" == "--test" ]] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "Making the locale ja_JP.UTF-8"
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
