#!/usr/bin/env bash
# Peak memory of every procedure of the command-line tool on inputs of awkward shapes, each of the
# same size: many empty lines (lone CRs, lone LFs, CR LF pairs), blank lines of spaces, one huge line,
# many tiny distinct lines, many tiny distinct words, many tags, and the realistic sample text.
# Prints a Markdown table of the peak resident memory in MB, and the worst ratio of peak memory to
# input size per procedure.
#
#   bench/memory_peaks.sh [BUILD_DIR] [MEGABYTES] [OPTION]...     (defaults: build 16)
#
# Further words are passed to vernalith-cli before the procedure (for example --raw-text).
# Needs GNU time (package time).
set -eu  # no pipefail: the generators stop on SIGPIPE once enough is written
export LC_NUMERIC=C LC_ALL=C
cd "$(dirname "$0")/.."
build=${1:-build}
megabytes=${2:-16}
shift $(($# > 2 ? 2 : $#))
options=("$@")

[ -x /usr/bin/time ] || { echo "memory_peaks.sh: GNU time is missing (apt-get install time)" >&2; exit 1; }
cmake --build "$build" --target vernalith-cli vernalith_sample_file >/dev/null
cli="$build/cli/vernalith-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bytes=$((megabytes * 1048576))

# Passes on the first `bytes` bytes of standard input (the generators run on until stopped).
fill() { head -c "$bytes"; }

"$build/bench/vernalith_sample_file" "$megabytes" | fill >"$work/sample"
shapes=(cr lf crlf blank oneline tinylines tinywords tags sample)
declare -A caption=(
    [cr]="lone CRs" [lf]="lone LFs" [crlf]="empty CR LF lines" [blank]="blank lines"
    [oneline]="one line" [tinylines]="tiny lines" [tinywords]="tiny words" [tags]="tags" [sample]="sample")
head -c "$bytes" /dev/zero | tr '\0' '\r' >"$work/cr"
head -c "$bytes" /dev/zero | tr '\0' '\n' >"$work/lf"
head -c "$bytes" /dev/zero | tr '\0' '\r' | sed 's/\r/\r\n/g' | fill >"$work/crlf"
yes '   ' | sed 's/$/\r/' | fill >"$work/blank"
tr '\r\n' '  ' <"$work/sample" >"$work/oneline"
seq 1 100000000 | fill >"$work/tinylines"
# Distinct words of Latin letters (the numbers 1, 2, 3... written in base 26), ten to a line.
awk 'BEGIN { a = "abcdefghijklmnopqrstuvwxyz"
    for (n = 1; ; n++) { w = ""; for (m = n; m > 0; m = int(m / 26)) w = w substr(a, m % 26 + 1, 1)
        printf "%s%s", w, (n % 10 ? " " : "\r\n") } }' | fill >"$work/tinywords"
# Many tags: distinct names and the same ones over and over, no text between them.
{ seq 1 2000000 | sed 's/.*/<t&>/'; yes '<p></p><br>'; } | tr -d '\n' | fill >"$work/tags"

procedures=$("$cli" --list | cut -f1)
echo "Input: $megabytes MB of each shape${options[*]:+, options ${options[*]}}; peak resident memory in MB."
echo
printf '| Procedure |'
for shape in "${shapes[@]}"; do printf ' %s |' "${caption[$shape]}"; done
printf ' worst / input |\n|---|'
for _ in "${shapes[@]}"; do printf -- '---|'; done
printf -- '---|\n'
for procedure in $procedures; do
    printf '| %s |' "$procedure"
    worst=0
    for shape in "${shapes[@]}"; do
        if /usr/bin/time -o "$work/time" -f '%M' "$cli" --seed 1 "${options[@]}" "$procedure" "$work/$shape" \
            >/dev/null 2>"$work/err"; then
            kilobytes=$(tail -1 "$work/time")
            printf ' %d |' $((kilobytes / 1024))
        else
            kilobytes=$(tail -1 "$work/time")
            printf ' %d (failed) |' $((kilobytes / 1024))
        fi
        [ "$kilobytes" -gt "$worst" ] && worst=$kilobytes
    done
    awk -v kb="$worst" -v size="$bytes" 'BEGIN { printf " %.1f× |\n", kb * 1024 / size }'
done
