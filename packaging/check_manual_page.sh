#!/usr/bin/env bash
# Checks the manual page of vernalith-cli against the tool itself, so that the two cannot drift apart
# unnoticed: OPTIONS names the same options as `--help`, and PROCEDURES the same procedures, with the
# same captions, as `--list`.
# Usage: check_manual_page.sh VERNALITH_CLI MANUAL_PAGE
set -euo pipefail
cli=$1 page=$2
failures=0

# The tag lines (the line after each .TP) of one section of the page, with \- turned into -.
section_tags() {
    sed 's/\\-/-/g' "$page" | awk -v section="$1" '
        /^\.SH/ { inside = ($2 == section); tag = 0; next }
        inside && tag == 2 { print "\t" $0; tag = 0; next }
        inside && tag == 1 { printf "%s", $0; tag = 2; next }
        inside && /^\.TP/ { tag = 1 }'
}

help_options=$("$cli" --help | grep -oE '(^|[][ |])--?[a-z][a-z0-9-]*' | sed 's/^[][ |]//' | sort -u)
page_options=$(section_tags OPTIONS | cut -f1 | grep -oE '(^|[ "])--?[a-z][a-z0-9-]*' | sed 's/^[ "]//' | sort -u)
if [ -z "$help_options" ] || [ -z "$page_options" ]; then
    echo "FAIL: found no options in --help or in the page's OPTIONS" >&2
    failures=$((failures + 1))
elif ! difference=$(diff <(echo "$help_options") <(echo "$page_options")); then
    echo "FAIL: the options of --help ('<') and of the page's OPTIONS ('>') differ:"$'\n'"$difference" >&2
    failures=$((failures + 1))
fi

# Each procedure is a `.B Name` tag followed by its caption (or, for the reports, a description).
listed=$("$cli" --list)
page_procedures=$(section_tags PROCEDURES | sed -n 's/^\.B \([A-Za-z]*\)\t/\1\t/p')
if ! difference=$(diff <(cut -f1 <<<"$listed" | sort) <(cut -f1 <<<"$page_procedures" | sort)); then
    echo "FAIL: the procedures of --list ('<') and of the page's PROCEDURES ('>') differ:"$'\n'"$difference" >&2
    failures=$((failures + 1))
fi
while IFS= read -r line; do
    [[ "$line" == *$'\t'* ]] || continue
    grep -Fxq -- "$line" <<<"$page_procedures" || {
        echo "FAIL: the page does not give ${line%%$'\t'*} the caption '${line#*$'\t'}'" >&2
        failures=$((failures + 1))
    }
done <<<"$listed"

((failures == 0)) || exit 1
echo "the manual page names the $(wc -l <<<"$help_options") options of --help and the $(wc -l <<<"$listed") procedures of --list"
