#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what an installed Vernalith consists of: exactly
# the expected files, a valid menu entry whose program and icon are there, icons of the sizes their
# folders claim, manual pages that render without a warning, and the package version in --version.
# Usage: check_install.sh BUILD_DIR VERSION gui|cli
set -euo pipefail
build=$1 version=$2 kind=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

icon_sizes=(16 32 48 64 128 256)
expected=(bin/vernalith-cli share/man/man1/vernalith-cli.1.gz)
if [ "$kind" = gui ]; then
    expected+=(bin/vernalith share/man/man1/vernalith.1.gz share/applications/vernalith.desktop
        share/icons/hicolor/scalable/apps/vernalith.svg)
    for size in "${icon_sizes[@]}"; do expected+=("share/icons/hicolor/${size}x${size}/apps/vernalith.png"); done
fi
if ! file_list=$(diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)); then
    fail "installed files differ from the expected list ('<' missing, '>' unexpected):"$'\n'"$file_list"
fi

for program in vernalith vernalith-cli; do
    [ -f "$prefix/bin/$program" ] || continue
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

# The manual pages, rendered as man shows them, with every groff warning switched on.
for page in "$prefix"/share/man/man1/*.1.gz; do
    name=$(basename "$page")
    if ! rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$page" 2>"$prefix/man.err"); then
        fail "man -l $name failed"
    fi
    [ -s "$prefix/man.err" ] && fail "man -l $name warns:"$'\n'"$(cat "$prefix/man.err")"
    grep -q "^NAME" <<<"$rendered" || fail "man -l $name shows no NAME section"
    grep -q "Vernalith $version" <<<"$rendered" || fail "$name does not carry the version $version"
done

if [ "$kind" = gui ]; then
    desktop="$prefix/share/applications/vernalith.desktop"
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects vernalith.desktop"
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$exec_program" ] || fail "the menu entry starts '$exec_program', which is not installed"
    icon=$(sed -n 's/^Icon=//p' "$desktop")
    [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the menu entry's icon '$icon' is not installed"

    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    for size in "${icon_sizes[@]}"; do
        png="$prefix/share/icons/hicolor/${size}x${size}/apps/vernalith.png"
        [ -f "$png" ] || continue
        read -r -a bytes < <(od -An -tu1 -j16 -N8 "$png")
        width=$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3]))
        height=$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))
        [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
            fail "icon ${size}x${size}/apps/vernalith.png is ${width}x${height}"
    done

    # --version must answer without a display.
    shown=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= "$prefix/bin/vernalith" --version 2>&1) || true
    [ "$shown" = "vernalith $version" ] || fail "vernalith --version printed '$shown', not 'vernalith $version'"
fi

# The command-line tool prints the package version once its usage names --version.
if "$prefix/bin/vernalith-cli" --help | grep -q -- '--version'; then
    shown=$("$prefix/bin/vernalith-cli" --version 2>&1) || true
    grep -q "$version" <<<"$shown" || fail "vernalith-cli --version printed '$shown', not the version $version"
fi

if ((failures)); then
    echo "$failures install check(s) failed" >&2
    exit 1
fi
echo "install into a temporary prefix: the ${#expected[@]} expected files, all checks passed"
