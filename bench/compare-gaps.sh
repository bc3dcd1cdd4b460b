# The window cases of compare.sh; sourced by it. Each run goes through the program's real Qt views and
# yields (scorvane-gui-bench, Qt's offscreen platform), which record the longest time the event loop went
# without a turn: how long the window could not repaint and Cancel or Esc waited.

# Runs the gui bench with its case and arguments; appends the run's longest gap (ms) to `gaps` and its
# seconds to `gap_t`.
gap_run() {
    timed env QT_QPA_PLATFORM=offscreen "$gui_bench" "$@"
    local gap
    gap=$(awk '$1 == "gap" { print $2 }' "$work/out")
    [[ -n $gap ]] || fail "$gui_bench $* printed no gap"
    gaps+=("$gap"); gap_t+=("$seconds")
}
# One line: the median of the runs' longest gaps, and the longest of all.
gap_line() {
    local name=$1 size=$2 worst middle
    worst=$(max "${gaps[@]}"); middle=$(median "${gaps[@]}")
    printf '%s %s: longest gap %.1f ms (median of %d runs; worst %.1f ms), run %.2f s  %s (target: <= 100 ms)\n' \
        "$name" "$size" "$middle" "${#gaps[@]}" "$worst" "$(median "${gap_t[@]}")" "$(verdict "$middle" le 100)"
}

# COUNT files of 100 bytes in one folder at $walk: below 1,000 bytes a file takes one write per pass and
# no yield of its own, so the folder's loop alone keeps the window answered.
make_small_flat() {
    rm -rf -- "$work/walks"
    mkdir -p -- "$work/walks" "$walk"
    random_stream "small$2" | perl -e '
        my ($count, $top) = @ARGV;
        for my $i (0 .. $count - 1) {
            read(STDIN, my $data, 100) == 100 or die "short read";
            open(my $f, ">", "$top/f$i") or die "$!";
            print $f $data;
            close $f or die "$!";
        }' "$1" "$walk" || fail "cannot make a folder of $1 small files"
    sync
}

if wanted gaps; then
    # A flat folder of small files: listing, per-file loop and removal, method 0.
    gaps=(); gap_t=()
    for ((i = 0; i < runs; ++i)); do
        make_small_flat "$gap_files" "$i"
        gap_run gui-folder 0 "$walk"
        walk_gone "scorvane-gui-bench on a flat folder"
    done
    gap_line gap-flat-folder "$gap_files files of 100 bytes"

    # The 35-pass method over a large file: every pass, its flush and the cut at the end.
    gaps=(); gap_t=()
    for ((i = 0; i < runs; ++i)); do
        make_file "$gap_mib"
        gap_run gui-wipe 8 "$file"
        [[ ! -e $file ]] || fail "scorvane-gui-bench left the file in place"
    done
    gap_line gap-35-pass "${gap_mib}MiB"

    # The free-space fill of an ext4 image loop-mounted with direct I/O, so that the image's blocks go to
    # the disk as a drive's would, not into the page cache of the file that holds them.
    if ((EUID != 0)); then
        echo "gap-free-space ${space_mib:-256}MiB: skipped (root is needed to loop-mount the image)"
    else
        gap_image=$work/gaps.img
        gap_mnt=$work/gaps
        gap_loop=
        gaps_cleanup() {
            { ! mountpoint -q -- "$gap_mnt" || umount -- "$gap_mnt" || umount -l -- "$gap_mnt"; } 2>/dev/null || true
            [[ -z $gap_loop ]] || losetup -d "$gap_loop" 2>/dev/null || true
            gap_loop=
        }
        trap 'gaps_cleanup; rm -rf -- "$work"' EXIT
        mkdir -p -- "$gap_mnt"
        head -c "$((256 * 1048576))" /dev/zero >"$gap_image"
        PATH=$PATH:/usr/sbin:/sbin mkfs.ext4 -q -F -m 0 -E lazy_itable_init=0,lazy_journal_init=0 "$gap_image" ||
            fail "mkfs.ext4 failed"
        gap_loop=$(losetup --direct-io=on -f --show -- "$gap_image") || fail "cannot attach $gap_image"
        mount -- "$gap_loop" "$gap_mnt" || fail "cannot mount $gap_loop"
        gaps=(); gap_t=()
        for ((i = 0; i < runs; ++i)); do
            gap_run gui-space 1 "$gap_mnt"
            sync
        done
        gaps_cleanup
        rm -f -- "$gap_image"
        gap_line gap-free-space 256MiB
    fi
fi
