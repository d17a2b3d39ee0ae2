#!/bin/sh
# Builds the Debian package of a build tree into a scratch folder and checks what it holds: the
# same files that `cmake --install --prefix /usr` lays down, the programs and data the desktop
# needs, the declared dependencies, and a desktop entry that validates and points at shipped files.
# Usage: check-debian-package.sh BUILD_DIR VERSION CMAKE CPACK
set -eu

build_dir=$1
version=$2
cmake=$3
cpack=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export LC_ALL=C HOME="$scratch/home"
mkdir "$HOME"

for tool in dpkg-deb dpkg-shlibdeps desktop-file-validate; do
    command -v "$tool" >/dev/null || fail "$tool not found (make deps installs it)"
done

"$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb="$scratch/out/quillon_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$scratch/out")"

# Regular files only, as absolute paths: "-rw-r--r-- root/root 123 date time ./usr/..."
dpkg-deb -c "$deb" | awk '/^-/ { print substr($6, 2) }' | sort >"$scratch/packaged"
DESTDIR="$scratch/root" "$cmake" --install "$build_dir" --prefix /usr >/dev/null
(cd "$scratch/root" && find . -type f | sed 's/^\.//' | sort) >"$scratch/installed"
diff "$scratch/installed" "$scratch/packaged" >&2 || fail "package and install differ (< install, > package)"

for file in /usr/bin/quillon /usr/bin/quillon-waves /usr/bin/quillon-chart /usr/bin/quillon-make-bars \
    /usr/bin/quillon-scan \
    /usr/share/quillon/EURUSD60.csv \
    /usr/share/applications/quillon.desktop /usr/share/icons/hicolor/scalable/apps/quillon.svg; do
    grep -qx "$file" "$scratch/packaged" || fail "$file is not in the package"
done

depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 qt6-qpa-plugins; do
    echo "$depends" | tr ',|' '\n\n' | awk '{ print $1 }' | grep -qx "$package" ||
        fail "Depends lacks $package: $depends"
done

dpkg-deb -x "$deb" "$scratch/unpacked"
entry="$scratch/unpacked/usr/share/applications/quillon.desktop"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[ -x "$scratch/unpacked/usr/bin/$program" ] || fail "Exec=$program is not a program in usr/bin"
icon=$(sed -n 's/^Icon=//p' "$entry")
ls "$scratch/unpacked/usr/share/icons/hicolor/"*/apps/"$icon".* >/dev/null 2>&1 ||
    fail "Icon=$icon has no file in the hicolor theme"
echo "$(basename "$deb"): $(wc -l <"$scratch/packaged") files, Depends: $depends"
