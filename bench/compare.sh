#!/usr/bin/env bash
# Times Scorvane's wiping against its peers in one run and prints one line per case:
#   case size: scorvane X, peer Y, ratio X/Y  ok|MISSED (target)
# Usage: bench/compare.sh [--quick] [--runs N] [FOLDER]
#   FOLDER (or $BENCH_DIR): where a fresh work folder is made; default /var/tmp.
#   --quick: 64 MiB and 16 MiB files instead of 1024 MiB and 256 MiB.
#   --runs N: timings per case (default 3); the median is shown.
# Exits non-zero only when something fails to run; a missed target prints MISSED.
set -euo pipefail
export LC_ALL=C  # decimal points in every figure

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bench=${SCORVANE_BENCH:-$here/../build/scorvane-bench}
one_pass_mib=1024
many_pass_mib=256
random_mib=1024
runs=3
parent=${BENCH_DIR:-}

while (($#)); do
    case $1 in
        --quick) one_pass_mib=64; many_pass_mib=16; random_mib=64; shift ;;
        --runs) runs=$2; shift 2 ;;
        -h|--help) sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "unknown option: $1" >&2; exit 2 ;;
        *) parent=$1; shift ;;
    esac
done

fail() { echo "compare.sh: $*" >&2; exit 1; }

[[ -x $bench ]] || fail "no $bench: build it first (make -C build scorvane-bench)"
for tool in shred dd openssl head sync df bc awk; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
[[ -x /usr/bin/time ]] || fail "/usr/bin/time is missing (apt-get install time)"
((runs >= 1)) || fail "--runs needs a number of at least 1"

# Never time a tmpfs: it measures memory, not a disk.
if [[ -z $parent ]]; then parent=/var/tmp; fi
[[ -d $parent ]] || fail "no folder $parent"
fs_type=$(df --output=fstype "$parent" | tail -n 1 | tr -d ' ')
[[ $fs_type != tmpfs ]] || fail "$parent is on tmpfs: give a folder on a disk"
need_kib=$(((2 * one_pass_mib + 64) * 1024))
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

# A fresh file of random content, on the disk before the timing starts.
make_file() {
    rm -f -- "$file"
    random_stream "$RANDOM$RANDOM" | head -c "$(($1 * 1048576))" >"$file"
    (($(stat -c %s "$file") == $1 * 1048576)) || fail "cannot create a file of $1 MiB"
    sync
}

# Runs a command under /usr/bin/time; sets `seconds` (wall clock) and `peak_kib` (maximum resident set).
timed() {
    local start end
    start=$EPOCHREALTIME
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >"$work/out" || fail "failed: $* ($(cat "$work/out"))"
    end=$EPOCHREALTIME
    seconds=$(echo "$end - $start" | bc -l)
    peak_kib=$(tail -n 1 "$work/rss")
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
echo "work folder: $work ($fs_type on $(df --output=source "$parent" | tail -n 1)), runs per case: $runs, median shown"
echo "peers: $(shred --version | head -n 1), $(dd --version | head -n 1), $(openssl version | cut -d' ' -f1-2)"
echo

# The source dd reads from, alone: if it is slower than the disk, dd's figure is the pipe's.
pipe_times=()
for ((i = 0; i < runs; ++i)); do
    start=$EPOCHREALTIME
    random_stream x | dd of=/dev/null bs=1M count="$one_pass_mib" iflag=fullblock status=none
    end=$EPOCHREALTIME
    pipe_times+=("$(echo "$end - $start" | bc -l)")
done
pipe_s=$(median "${pipe_times[@]}")
pipe_rate=$(echo "$one_pass_mib * 1048576 / $pipe_s / 1000000000" | bc -l)

# dd's second source: the same kind of stream made beforehand into a file on the same disk (then held in
# the page cache), so that dd's figure is the disk's and not the pipe's.
source=$work/source.bin
random_stream source | head -c "$((one_pass_mib * 1048576))" >"$source"
(($(stat -c %s "$source") == one_pass_mib * 1048576)) || fail "cannot create the source file"
sync

# One random pass: Scorvane method 2, shred -n1, dd from the pipe and from the file; interleaved so that
# drift is shared.
sc=(); sh=(); dd_t=(); ddf_t=(); sc_rss=(); sh_rss=()
for ((i = 0; i < runs; ++i)); do
    make_file "$one_pass_mib"
    timed "$bench" wipe 2 "$file"
    [[ ! -e $file ]] || fail "scorvane-bench left the file in place"
    sc+=("$seconds"); sc_rss+=("$peak_kib")
    make_file "$one_pass_mib"
    timed shred -n1 -x "$file"
    sh+=("$seconds"); sh_rss+=("$peak_kib")
    make_file "$one_pass_mib"
    start=$EPOCHREALTIME
    random_stream x | dd of="$file" bs=1M count="$one_pass_mib" iflag=fullblock conv=notrunc,fdatasync status=none ||
        fail "dd failed"
    end=$EPOCHREALTIME
    (($(stat -c %s "$file") == one_pass_mib * 1048576)) || fail "dd wrote a file of another size"
    dd_t+=("$(echo "$end - $start" | bc -l)")
    # Scorvane's figure includes deleting the file, and dropping its cached pages is no small part of
    # that: here dd pays for it too.
    make_file "$one_pass_mib"
    start=$EPOCHREALTIME
    dd if="$source" of="$file" bs=1M conv=notrunc,fdatasync status=none || fail "dd failed"
    rm -- "$file"
    end=$EPOCHREALTIME
    ddf_t+=("$(echo "$end - $start" | bc -l)")
done
rm -f -- "$source"
sc_s=$(median "${sc[@]}"); sh_s=$(median "${sh[@]}"); dd_s=$(median "${dd_t[@]}"); ddf_s=$(median "${ddf_t[@]}")
one_pass_rss=$(max "${sc_rss[@]}"); shred_one_rss=$(max "${sh_rss[@]}")
r=$(ratio "$sc_s" "$sh_s")
printf 'random-1pass %dMiB: scorvane %.2f s, shred %.2f s, ratio %.2f  %s (target: ratio <= 1.00)\n' \
    "$one_pass_mib" "$sc_s" "$sh_s" "$r" "$(verdict "$r" le 1.00)"
r=$(ratio "$sc_s" "$dd_s")
printf 'random-1pass-dd %dMiB: scorvane %.2f s, dd %.2f s, ratio %.2f  %s (target: ratio <= 1.10)\n' \
    "$one_pass_mib" "$sc_s" "$dd_s" "$r" "$(verdict "$r" le 1.10)"
r=$(ratio "$sc_s" "$ddf_s")
printf 'random-1pass-dd-file %dMiB: scorvane %.2f s, dd from a file + rm %.2f s, ratio %.2f  %s (target: ratio <= 1.10)\n' \
    "$one_pass_mib" "$sc_s" "$ddf_s" "$r" "$(verdict "$r" le 1.10)"
printf "dd-source %dMiB: openssl pipe alone %.2f s = %.2f GB/s (dd's figure cannot beat this)\n" \
    "$one_pass_mib" "$pipe_s" "$pipe_rate"

# The 35-pass method against shred's 35 passes.
sc=(); sh=(); sc_rss=(); sh_rss=()
for ((i = 0; i < runs; ++i)); do
    make_file "$many_pass_mib"
    timed "$bench" wipe 8 "$file"
    [[ ! -e $file ]] || fail "scorvane-bench left the file in place"
    sc+=("$seconds"); sc_rss+=("$peak_kib")
    make_file "$many_pass_mib"
    timed shred -n35 -x "$file"
    sh+=("$seconds"); sh_rss+=("$peak_kib")
done
sc_s=$(median "${sc[@]}"); sh_s=$(median "${sh[@]}")
many_pass_rss=$(max "${sc_rss[@]}"); shred_many_rss=$(max "${sh_rss[@]}")
r=$(ratio "$sc_s" "$sh_s")
printf '35-pass %dMiB: scorvane %.2f s, shred %.2f s, ratio %.2f  %s (target: ratio <= 1.00)\n' \
    "$many_pass_mib" "$sc_s" "$sh_s" "$r" "$(verdict "$r" le 1.00)"

# Peak memory (maximum resident set size) of the wipes above.
for case in "random-1pass $one_pass_mib $one_pass_rss $shred_one_rss" "35-pass $many_pass_mib $many_pass_rss $shred_many_rss"; do
    read -r name mib mine theirs <<<"$case"
    printf 'peak-memory %s %dMiB: scorvane %.1f MiB, shred %.1f MiB, ratio %.2f  %s (target: scorvane < 64 MiB)\n' \
        "$name" "$mib" "$(echo "$mine / 1024" | bc -l)" "$(echo "$theirs / 1024" | bc -l)" \
        "$(ratio "$mine" "$theirs")" "$(verdict "$mine" le $((64 * 1024 - 1)))"
done

# The random generator alone, on one core.
gen=()
for ((i = 0; i < runs; ++i)); do gen+=("$("$bench" random "$random_mib")"); done
gen_s=$(median "${gen[@]}")
gen_rate=$(echo "$random_mib * 1048576 / $gen_s / 1000000000" | bc -l)
printf 'random-generator %dMiB: scorvane %.3f s = %.2f GB/s, openssl pipe %.2f GB/s, ratio %.2f  %s (target: >= 1 GB/s)\n' \
    "$random_mib" "$gen_s" "$gen_rate" "$pipe_rate" "$(ratio "$gen_rate" "$pipe_rate")" "$(verdict "$gen_rate" ge 1)"

# Free-space fill: an ext4 image of 256 MiB in the work folder, loop-mounted; Scorvane's method 1 (a
# constant '0' fill, flushed, then renamed and deleted) against dd writing a constant non-zero byte until
# the disk is full (conv=fdatasync) followed by rm of its file, since Scorvane's figure includes its
# clean-up. Needs root for the loop mount; without it the case is skipped.
space_mib=256
if ((EUID != 0)); then
    echo "free-space-fill ${space_mib}MiB: skipped (root is needed to loop-mount the image)"
else
    for tool in mkfs.ext4 mount umount tr; do
        PATH=$PATH:/usr/sbin:/sbin command -v "$tool" >/dev/null || fail "$tool is missing"
    done
    image=$work/space.img
    mnt=$work/space
    mkdir -p -- "$mnt"
    # Unmount before the work folder goes, so that the clean-up never reaches into a mounted filesystem.
    trap '{ ! mountpoint -q -- "$mnt" || umount -- "$mnt" || umount -l -- "$mnt"; } 2>/dev/null || true; rm -rf -- "$work"' EXIT
    # The image's blocks exist on the disk beforehand, so that no run pays for allocating them.
    head -c "$((space_mib * 1048576))" /dev/zero >"$image"
    PATH=$PATH:/usr/sbin:/sbin mkfs.ext4 -q -F -m 0 -E lazy_itable_init=0,lazy_journal_init=0 "$image" ||
        fail "mkfs.ext4 failed"
    mount -o loop -- "$image" "$mnt" || fail "cannot loop-mount $image"
    sync
    mount_free() { df --output=avail -B1 "$mnt" | tail -n 1 | tr -d ' '; }
    empty_free=$(mount_free)
    dd_fill() {
        tr '\0' '\1' </dev/zero | dd of="$mnt/fill" bs=1M iflag=fullblock conv=fdatasync status=none 2>/dev/null || true
    }
    dd_fill && rm -f -- "$mnt/fill" && sync  # a first fill, untimed, settles the image
    sc=(); dd_t=(); sc_rss=()
    for ((i = 0; i < runs; ++i)); do
        # The end message the headless run prints is left out; anything else comes through.
        timed "$bench" space 1 "$mnt" 2> >(grep -v '^message: ' >&2)
        [[ -z $(ls -A -- "$mnt" | grep -v '^lost+found$') ]] || fail "scorvane-bench left files on the filesystem"
        sc+=("$seconds"); sc_rss+=("$peak_kib")
        sync
        start=$EPOCHREALTIME
        dd_fill
        filled=$(stat -c %s "$mnt/fill")
        rm -f -- "$mnt/fill"
        end=$EPOCHREALTIME
        ((filled * 100 >= empty_free * 99)) || fail "dd filled only $filled of $empty_free bytes"
        dd_t+=("$(echo "$end - $start" | bc -l)")
        sync
    done
    umount -- "$mnt" || fail "cannot unmount $mnt"
    rm -f -- "$image"
    sc_s=$(median "${sc[@]}"); dd_s=$(median "${dd_t[@]}")
    r=$(ratio "$sc_s" "$dd_s")
    printf 'free-space-fill %dMiB: scorvane %.2f s, dd + rm %.2f s, ratio %.2f  %s (target: ratio <= 1.10; peak memory %.1f MiB)\n' \
        "$space_mib" "$sc_s" "$dd_s" "$r" "$(verdict "$r" le 1.10)" "$(echo "$(max "${sc_rss[@]}") / 1024" | bc -l)"
fi
