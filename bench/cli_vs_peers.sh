#!/usr/bin/env bash
# The command-line tool end to end against the usual shell tools doing the same kind of work, side by
# side on one generated realistic text (Russian/English, CR LF lines). Prints a Markdown table: the best
# wall time of a few runs of each, their ratio, and the peak memory of each.
#
#   bench/cli_vs_peers.sh [BUILD_DIR] [MEGABYTES] [RUNS]     (defaults: build 16 5)
#
# Needs GNU time, mawk and perl, and the ru_RU.UTF-8 locale for sort: installs or generates what is
# missing (as root, or through sudo).
set -euo pipefail
export LC_NUMERIC=C
cd "$(dirname "$0")/.."
build=${1:-build}
megabytes=${2:-16}
runs=${3:-5}

sudo_if_needed() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
missing=()
[ -x /usr/bin/time ] || missing+=(time)
command -v mawk >/dev/null || missing+=(mawk)
command -v localedef >/dev/null || missing+=(locales)
if [ ${#missing[@]} -gt 0 ]; then
    sudo_if_needed apt-get install -y "${missing[@]}" >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qix 'ru_RU.utf8'; then
    sudo_if_needed localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi

cmake --build "$build" --target vernalith-cli vernalith_sample_file vernalith_bench >/dev/null
cli="$build/cli/vernalith-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input="$work/sample.txt"
"$build/bench/vernalith_sample_file" "$megabytes" >"$input"
size=$(stat -c %s "$input")

# Best wall time (seconds) and the peak resident memory (MB) of the runs of one command.
measure() {
    local best="" peak=0 seconds kilobytes
    for _ in $(seq "$runs"); do
        /usr/bin/time -o "$work/time" -f '%e %M' "$@" <"$input" >/dev/null
        read -r seconds kilobytes <"$work/time"
        if [ -z "$best" ] || awk "BEGIN { exit !($seconds < $best) }"; then best=$seconds; fi
        [ "$kilobytes" -gt "$peak" ] && peak=$kilobytes
    done
    echo "$best $((peak / 1024))"
}

# One row: the procedure (run with the environment in $with, if any) and its peer.
row() {
    local procedure=$1 peerName=$2
    shift 2
    read -r ours ourMemory < <(measure env $with "$cli" "$procedure")
    read -r theirs theirMemory < <(measure env $with "$@")
    local ratio
    ratio=$(awk "BEGIN { printf \"%.1f\", ($ours > 0 ? $theirs / $ours : 0) }")
    printf '| %s | %.2f s, %d MB | `%s` | %.2f s, %d MB | %s× |\n' "$procedure" "$ours" "$ourMemory" "$peerName" \
        "$theirs" "$theirMemory" "$ratio"
}

wordFrequency='$c{lc $1}++ while /(\w+)/g; END { print "$_ - $c{$_}\n" for sort { $c{$b} <=> $c{$a} } keys %c }'

echo "Input: $(awk "BEGIN { printf \"%.1f\", $size / 1048576 }") MB, $(wc -l <"$input") lines; best of $runs runs; peak memory beside each."
echo
echo '| Procedure | vernalith-cli | Peer | Peer | Peer time / ours |'
echo '|---|---|---|---|---|'
with=""
row RemoveExtraSpaces "sed -E 's/ +/ /g'" sed -E 's/ +/ /g'
row StripHtmlTags "sed -E 's/<[^>]*>//g'" sed -E 's/<[^>]*>//g'
row RemoveDuplicateLines "mawk '!seen[\$0]++'" mawk '!seen[$0]++'
with="LC_ALL=ru_RU.UTF-8"  # both sort by the Russian alphabet
row SortLines "LC_ALL=ru_RU.UTF-8 sort -f" sort -f
with=""
row LowerCaseAll "perl -CSD -pe '\$_=lc'" perl -CSD -pe '$_=lc'
row TextInfo "perl word frequencies" perl -CSD -ne "$wordFrequency"
echo
echo "Byte path alone (read the file, decode UTF-8 with the editor's line breaks, encode, write):"
"$build/bench/vernalith_bench" --benchmark_filter='BM_BytePath' --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true 2>/dev/null | awk '/_median/ { print "  " $0 }'
