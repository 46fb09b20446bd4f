#!/usr/bin/env bash
# Builds the program alone from a fresh copy of the sources as packagers do: in every build type
# with warnings as errors, then once the way Debian builds packages (no build type, Debian's
# hardening flags, warnings left as warnings, tests and benchmarks off with their packages out of
# reach), makes the Debian package of that build and has lintian check it.
#   packaging_test.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sources as a release would ship them: from a checkout, what git tracks and what it does not
# ignore; from an unpacked release tarball, which has no git, everything but what .gitignore
# names (read by the rule that covers its lines: a pattern with a slash is anchored at the top).
sources=$work/sources
mkdir "$sources"
top=$(cd "$source_dir" && pwd -P)
if command -v git >/dev/null && [ "$(git -C "$top" rev-parse --show-toplevel 2>/dev/null)" = "$top" ]; then
    echo "packaging: sources from the git checkout (tracked, and untracked but not ignored)"
    git -C "$top" ls-files -z --cached --others --exclude-standard |
        (cd "$top" && tar --null -T - -cf - 2>/dev/null) | tar -C "$sources" -xf -
else
    echo "packaging: $top is no git checkout: copying it whole, less what .gitignore names"
    excludes=()
    while read -r pattern; do
        case $pattern in '' | '#'*) continue ;; esac
        pattern=${pattern%/}
        case $pattern in
        */*) excludes+=("--exclude=./${pattern#/}") ;;
        *) excludes+=("--exclude=$pattern") ;;
        esac
    done <"$top/.gitignore"
    tar -C "$top" "${excludes[@]}" -cf - . | tar -C "$sources" -xf -
fi
test -f "$sources/CMakeLists.txt"

program_only=(-G Ninja -DBUILD_TESTING=OFF -Wno-dev --no-warn-unused-cli)
for type in Debug Release RelWithDebInfo MinSizeRel ""; do
    echo "packaging: build type '${type:-none}' with warnings as errors"
    build=$work/build-${type:-none}
    cmake -S "$sources" -B "$build" "${program_only[@]}" -DCMAKE_BUILD_TYPE="$type" \
        -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
    cmake --build "$build" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
done

echo "packaging: as Debian builds it, without the test packages"
build=$work/build-debian
(
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    eval "$(dpkg-buildflags --export=sh)"
    CXXFLAGS="$CXXFLAGS $CPPFLAGS" cmake -S "$sources" -B "$build" "${program_only[@]}" \
        -DCMAKE_BUILD_TYPE=None -DLUMORA_BUILD_BENCHMARKS=OFF \
        -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
        -DCMAKE_DISABLE_FIND_PACKAGE_X11=ON >/dev/null
)
cmake --build "$build" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }
(cd "$build" && cpack >/dev/null)
deb=$(echo "$build"/lumora_1.00_*.deb)
test -f "$deb"

echo "packaging: lintian $(basename "$deb")"
# --fail-on makes errors and warnings fail the test; informational tags are only shown.
lintian --fail-on error,warning "$deb" 2>&1
echo "packaging: all builds clean, package lintian-clean"
