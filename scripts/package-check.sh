#!/usr/bin/env bash
# Installs a build into a temporary prefix and packs it as a .deb, then checks
# that both hold the executable, the desktop entry and the icon, that the entry
# is valid and that the package depends on the libraries the executable needs.
#   scripts/package-check.sh [build folder]      (default: build)
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files=(
    bin/lanxun
    share/applications/lanxun.desktop
    share/icons/hicolor/scalable/apps/lanxun.svg
)

cmake --install "$build" --prefix "$work/prefix"
for f in "${files[@]}"; do
    [ -f "$work/prefix/$f" ] || { echo "package-check: cmake --install did not install $f" >&2; exit 1; }
done
[ -x "$work/prefix/bin/lanxun" ] || { echo "package-check: bin/lanxun is not executable" >&2; exit 1; }
desktop-file-validate "$work/prefix/share/applications/lanxun.desktop"

(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb=$(find "$work/deb" -maxdepth 1 -name '*.deb' | head -n 1)
[ -n "$deb" ] || { echo "package-check: cpack made no .deb" >&2; exit 1; }
listing=$(dpkg-deb -c "$deb")
for f in "${files[@]}"; do
    grep -q " \./usr/$f\$" <<<"$listing" || { echo "package-check: the .deb lacks /usr/$f" >&2; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libcurl4 libminizip1 fonts-noto-cjk; do
    grep -q "\b$lib\b" <<<"$depends" || { echo "package-check: the .deb does not depend on $lib ($depends)" >&2; exit 1; }
done
echo "package-check: $(basename "$deb") holds ${#files[@]} files; Depends: $depends"
