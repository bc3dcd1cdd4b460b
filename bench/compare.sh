#!/usr/bin/env bash
# Times Scorvane's wiping against its peers in one run and prints one line per case:
#   case size: scorvane X, peer Y, ratio X/Y  ok|MISSED (target)
# Usage: bench/compare.sh [--quick] [--runs N] [--only CASES] [FOLDER]
#   FOLDER (or $BENCH_DIR): where a fresh work folder is made; default /var/tmp.
#   --quick: 64 MiB and 16 MiB files instead of 1024 MiB and 256 MiB, trees of 500 and 2,000 files
#            instead of 2,000 and 20,000 (and 2,000 for the walk and window cases).
#   --runs N: rounds per case (default 3); the median is shown.
#   --only CASES: comma-separated, from one-pass, 35-pass, generator, space, gui, trees, walks, gaps.
# Exits non-zero when something fails to run or a case did no work; a missed target prints MISSED.
set -euo pipefail
export LC_ALL=C  # decimal points in every figure

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bench=${SCORVANE_BENCH:-$here/../build/scorvane-bench}
gui_bench=${SCORVANE_GUI_BENCH:-$(dirname "$bench")/scorvane-gui-bench}
disk_cost=${SCORVANE_DISK_COST:-$(dirname "$bench")/scorvane-disk-cost}
walk_files=20000
gap_files=20000
gap_mib=1024
one_pass_mib=1024
many_pass_mib=256
gui_files=2000
tree_files=20000
random_mib=1024
runs=3
only=one-pass,35-pass,generator,space,gui,trees,walks,gaps
parent=${BENCH_DIR:-}

while (($#)); do
    case $1 in
        --quick) one_pass_mib=64; many_pass_mib=16; random_mib=64; gui_files=500; tree_files=2000
                 walk_files=2000; gap_files=2000; gap_mib=64; shift ;;
        --runs) runs=$2; shift 2 ;;
        --only) only=$2; shift 2 ;;
        -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "unknown option: $1" >&2; exit 2 ;;
        *) parent=$1; shift ;;
    esac
done
wanted() { [[ ,$only, == *,$1,* ]]; }

fail() { echo "compare.sh: FAILED: $*" >&2; exit 1; }

[[ -x $bench ]] || fail "no $bench: build it first (make -C build scorvane-bench scorvane-gui-bench)"
! wanted gui || [[ -x $gui_bench ]] || fail "no $gui_bench: build it first (make -C build scorvane-gui-bench)"
! wanted gaps || [[ -x $gui_bench ]] || fail "no $gui_bench: build it first (make -C build scorvane-gui-bench)"
for tool in shred dd openssl head sync df bc awk find perl; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
[[ -x /usr/bin/time ]] || fail "/usr/bin/time is missing (apt-get install time)"
((runs >= 1)) || fail "--runs needs a number of at least 1"

# Never time a tmpfs: it measures memory, not a disk.
if [[ -z $parent ]]; then parent=/var/tmp; fi
[[ -d $parent ]] || fail "no folder $parent"
fs_type=$(df --output=fstype "$parent" | tail -n 1 | tr -d ' ')
[[ $fs_type != tmpfs ]] || fail "$parent is on tmpfs: give a folder on a disk"
need_kib=$(((2 * one_pass_mib + 2 * many_pass_mib + 512 + tree_files / 50) * 1024))
free_kib=$(df --output=avail -k "$parent" | tail -n 1 | tr -d ' ')
((free_kib > need_kib)) || fail "$parent has ${free_kib} KiB free, ${need_kib} KiB needed"

# Only this fresh folder is ever written or removed.
work=$(mktemp -d "$parent/scorvane-bench.XXXXXX")
trap 'rm -rf -- "$work"' EXIT
trap 'exit 130' INT TERM
file=$work/victim.bin

# A non-zero random stream: AES-128-CTR over zeros, the same source dd is given. It ends with a write
# failure when its reader has had enough, which is no failure here: the readers check what they got.
random_stream() {
    openssl enc -aes-128-ctr -pass "pass:$1" -nosalt -pbkdf2 </dev/zero 2>/dev/null || true
}
(($(random_stream x | head -c 4096 | tr -d '\0' | wc -c) > 4000)) || fail "openssl gives no random stream"

# Victim files are made two ways, and every line says which: "cp", a copy of a random file held in the
# page cache, as cp makes it; "4k", written in 4 KiB pieces, as head -c and most programs write. How a file
# was last written decides how its pages lie in the page cache, and so what overwriting it costs.
kinds=(cp 4k)
kind_name() { if [[ $1 == cp ]]; then echo "made by cp"; else echo "written in 4 KiB pieces"; fi; }

# The path of a random file of MIB MiB (one for each NAME), made once and read into the page cache each
# time it is asked for.
cached_source() {
    local source=$work/source-${2:-file}-$1.bin
    if [[ ! -f $source ]]; then
        random_stream "source$1${2:-file}" | head -c "$(($1 * 1048576))" >"$source"
        (($(stat -c %s "$source") == $1 * 1048576)) || fail "cannot create a source file of $1 MiB"
    fi
    cat -- "$source" >/dev/null
    echo "$source"
}

# A fresh file of MIB MiB of random content made the KIND way (default 4k), on the disk before the timing
# starts.
make_file() {
    rm -f -- "$file"
    if [[ ${2:-4k} == cp ]]; then
        cp -- "$(cached_source "$1")" "$file"
    else
        random_stream "$RANDOM$RANDOM" | dd of="$file" bs=4k count="$(($1 * 256))" iflag=fullblock status=none
    fi
    (($(stat -c %s "$file") == $1 * 1048576)) || fail "cannot create a file of $1 MiB"
    sync
}

# A tree of COUNT files of 1 to 8 KiB in 200 folders (20 folders of 9 subfolders each) at $tree, random
# content, made the KIND way, on the disk before the timing starts; the same SEED makes the same tree.
# "4k": each file written in pieces of at most 4 KiB; "cp": cp -r of such a tree held in the page cache.
# $tree is the only entry of its own folder, so that whatever a run leaves, under any name, is seen.
tree=$work/trees/tree
make_tree() {
    rm -rf -- "$work/trees"
    mkdir -p -- "$work/trees"
    local top=$tree
    if [[ ${3:-4k} == cp ]]; then
        top=$work/tree-source
        rm -rf -- "$top"
    fi
    random_stream "tree$2" | perl -e '
        my ($count, $top) = @ARGV;
        srand(7);
        mkdir $top or die "$top: $!";
        my @folders;
        for my $a (0 .. 19) {
            push @folders, "$top/a$a";
            mkdir $folders[-1] or die "$!";
            for my $b (0 .. 8) { push @folders, "$top/a$a/b$b"; mkdir $folders[-1] or die "$!"; }
        }
        for my $i (0 .. $count - 1) {
            my $size = 1024 + int(rand(7169));
            read(STDIN, my $data, $size) == $size or die "short read";
            open(my $f, ">", $folders[$i % @folders] . "/f$i") or die "$!";
            binmode $f;
            for (my $at = 0; $at < $size; $at += 4096) { syswrite($f, $data, 4096, $at) or die "$!"; }
            close $f or die "$!";
        }' "$1" "$top" || fail "cannot make a tree of $1 files"
    if [[ ${3:-4k} == cp ]]; then
        find "$top" -type f -exec cat {} + >/dev/null
        cp -r -- "$top" "$tree" || fail "cannot copy the tree"
        rm -rf -- "$top"
    fi
    (($(find "$tree" -type f | wc -l) == $1)) || fail "the tree has not $1 files"
    sync
}
# Fails loudly unless the tree is gone, under its own name and any other.
tree_gone() {
    [[ -z $(ls -A -- "$work/trees") ]] || fail "$1 left $(find "$work/trees" -mindepth 1 | wc -l) entries of the tree"
}

# Runs a command under /usr/bin/time; sets `seconds` (wall clock) and `peak_kib` (maximum resident set).
# Its output is shown only when it fails.
timed() {
    local start end
    start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >"$work/out" 2>"$work/err" ||
        fail "$* ($(cat "$work/out" "$work/err"))"
    end=$EPOCHREALTIME
    seconds=$(echo "$end - $start" | bc -l)
    peak_kib=$(tail -n 1 "$work/rss")
}
# Seconds since START (an $EPOCHREALTIME).
since() { echo "$EPOCHREALTIME - $1" | bc -l; }

# One round of a case: its tools run in an order rotated by the round, since on this kind of machine
# the tool that runs first in a round is favoured or penalised.
round() {
    local number=$1
    shift
    local tools=("$@")
    for ((k = 0; k < ${#tools[@]}; ++k)); do "${tools[(number + k) % ${#tools[@]}]}"; done
}

median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
max() { printf '%s\n' "$@" | sort -g | tail -n 1; }
ratio() { echo "scale=4; $1 / $2" | bc -l; }
# ok when `value` `op` `limit` holds (op: le or ge), MISSED otherwise.
verdict() {
    if [[ $(echo "$1 $([[ $2 == le ]] && echo '<=' || echo '>=') $3" | bc -l) == 1 ]]; then echo ok; else echo MISSED; fi
}

echo "Scorvane wiping benchmark, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), kernel $(uname -r)"
echo "work folder: $work ($fs_type on $(df --output=source "$parent" | tail -n 1)), rounds per case: $runs, median shown"
echo "peers: $(shred --version | head -n 1), $(dd --version | head -n 1), $(openssl version | cut -d' ' -f1-2)"
echo

# The source dd reads from, alone: if it is slower than the disk, dd's figure is the pipe's.
pipe_times=()
for ((i = 0; i < runs; ++i)); do
    start=$EPOCHREALTIME
    random_stream x | dd of=/dev/null bs=1M count="$one_pass_mib" iflag=fullblock status=none
    pipe_times+=("$(since "$start")")
done
pipe_s=$(median "${pipe_times[@]}")
pipe_rate=$(echo "$one_pass_mib * 1048576 / $pipe_s / 1000000000" | bc -l)

source "$here/compare-files.sh"
source "$here/compare-trees.sh"
source "$here/compare-walks.sh"
source "$here/compare-gaps.sh"
