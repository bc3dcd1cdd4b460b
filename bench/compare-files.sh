# The one-file cases of compare.sh, the generator and the free-space fill; sourced by it. Every one-file
# case runs once on files made by cp and once on files written in 4 KiB pieces ($kind, see make_file).

# The first and last MiB of the file, to see that a peer that leaves the file in place did write over it.
ends() { { head -c 1048576 -- "$file"; tail -c 1048576 -- "$file"; } | md5sum; }

# One random pass: Scorvane method 2, shred -n1, dd from the pipe and dd from a cached file.
# Scorvane's METHOD, or shred's PASSES, over a fresh file of MIB; each must leave no trace of the file.
scorvane_on_file() {
    make_file "$2" "$kind"
    timed "$bench" wipe "$1" "$file"
    [[ ! -e $file ]] || fail "scorvane-bench left the file in place"
    sc+=("$seconds"); sc_rss+=("$peak_kib")
}
shred_on_file() {
    make_file "$2" "$kind"
    local before
    before=$(ends)
    timed shred -n"$1" -x "$file"
    [[ $(ends) != "$before" ]] || fail "shred left the file as it was"
    sh+=("$seconds"); sh_rss+=("$peak_kib")
}
one_pass_scorvane() { scorvane_on_file 2 "$one_pass_mib"; }
one_pass_shred() { shred_on_file 1 "$one_pass_mib"; }
one_pass_dd_pipe() {
    make_file "$one_pass_mib" "$kind"
    local start before
    before=$(ends)
    start=$EPOCHREALTIME
    random_stream x | dd of="$file" bs=1M count="$one_pass_mib" iflag=fullblock conv=notrunc,fdatasync status=none ||
        fail "dd failed"
    dd_t+=("$(since "$start")")
    (($(stat -c %s "$file") == one_pass_mib * 1048576)) || fail "dd wrote a file of another size"
    [[ $(ends) != "$before" ]] || fail "dd left the file as it was"
}
# Buffered dd from a random file held in the page cache, then rm: Scorvane's figure includes deleting
# the file, and dropping its cached pages is no small part of that, so here dd pays for it too.
one_pass_dd_file() {
    make_file "$one_pass_mib" "$kind"
    local source start written before after
    source=$(cached_source "$one_pass_mib" dd)
    before=$(ends)
    start=$EPOCHREALTIME
    dd if="$source" of="$file" bs=1M conv=notrunc,fdatasync status=none || fail "dd failed"
    written=$(stat -c %s "$file")
    after=$(ends)  # from the page cache: a few milliseconds, as good as nothing beside the run
    rm -- "$file"
    ddf_t+=("$(since "$start")")
    ((written == one_pass_mib * 1048576)) || fail "dd wrote a file of another size"
    [[ $after != "$before" ]] || fail "dd left the file as it was"
}

one_pass_rss=0; shred_one_rss=0
if wanted one-pass; then
    for kind in "${kinds[@]}"; do
        sc=(); sh=(); dd_t=(); ddf_t=(); sc_rss=(); sh_rss=()
        for ((i = 0; i < runs; ++i)); do
            round "$i" one_pass_scorvane one_pass_shred one_pass_dd_pipe one_pass_dd_file
        done
        sc_s=$(median "${sc[@]}"); sh_s=$(median "${sh[@]}"); dd_s=$(median "${dd_t[@]}"); ddf_s=$(median "${ddf_t[@]}")
        one_pass_rss=$(max "$one_pass_rss" "${sc_rss[@]}"); shred_one_rss=$(max "$shred_one_rss" "${sh_rss[@]}")
        made=$(kind_name "$kind")
        r=$(ratio "$sc_s" "$sh_s")
        printf 'random-1pass %dMiB, %s: scorvane %.2f s, shred %.2f s, ratio %.2f  %s (target: ratio <= 1.00)\n' \
            "$one_pass_mib" "$made" "$sc_s" "$sh_s" "$r" "$(verdict "$r" le 1.00)"
        r=$(ratio "$sc_s" "$dd_s")
        printf 'random-1pass-dd %dMiB, %s: scorvane %.2f s, dd %.2f s, ratio %.2f  %s (target: ratio <= 1.10)\n' \
            "$one_pass_mib" "$made" "$sc_s" "$dd_s" "$r" "$(verdict "$r" le 1.10)"
        r=$(ratio "$sc_s" "$ddf_s")
        printf 'random-1pass-dd-file %dMiB, %s: scorvane %.2f s, buffered dd of a cached random file + rm %.2f s, ratio %.2f  %s (target: ratio <= 1.05)\n' \
            "$one_pass_mib" "$made" "$sc_s" "$ddf_s" "$r" "$(verdict "$r" le 1.05)"
    done
    printf "dd-source %dMiB: openssl pipe alone %.2f s = %.2f GB/s (dd's figure cannot beat this)\n" \
        "$one_pass_mib" "$pipe_s" "$pipe_rate"
    rm -f -- "$work"/source-*.bin
fi

# The 35-pass method against shred's 35 passes.
many_pass_scorvane() { scorvane_on_file 8 "$many_pass_mib"; }
many_pass_shred() { shred_on_file 35 "$many_pass_mib"; }
many_pass_rss=0; shred_many_rss=0
if wanted 35-pass; then
    for kind in "${kinds[@]}"; do
        sc=(); sh=(); sc_rss=(); sh_rss=()
        for ((i = 0; i < runs; ++i)); do round "$i" many_pass_scorvane many_pass_shred; done
        sc_s=$(median "${sc[@]}"); sh_s=$(median "${sh[@]}")
        many_pass_rss=$(max "$many_pass_rss" "${sc_rss[@]}"); shred_many_rss=$(max "$shred_many_rss" "${sh_rss[@]}")
        r=$(ratio "$sc_s" "$sh_s")
        printf '35-pass %dMiB, %s: scorvane %.2f s, shred %.2f s, ratio %.2f  %s (target: ratio <= 0.80)\n' \
            "$many_pass_mib" "$(kind_name "$kind")" "$sc_s" "$sh_s" "$r" "$(verdict "$r" le 0.80)"
    done
    rm -f -- "$work"/source-*.bin
fi

# Peak memory (maximum resident set size) of the wipes above, over both kinds of file.
memory_cases=()
if wanted one-pass; then memory_cases+=("random-1pass $one_pass_mib $one_pass_rss $shred_one_rss"); fi
if wanted 35-pass; then memory_cases+=("35-pass $many_pass_mib $many_pass_rss $shred_many_rss"); fi
for case in "${memory_cases[@]}"; do
    read -r name mib mine theirs <<<"$case"
    printf 'peak-memory %s %dMiB: scorvane %.1f MiB, shred %.1f MiB, ratio %.2f  %s (target: scorvane < 64 MiB)\n' \
        "$name" "$mib" "$(echo "$mine / 1024" | bc -l)" "$(echo "$theirs / 1024" | bc -l)" \
        "$(ratio "$mine" "$theirs")" "$(verdict "$mine" le $((64 * 1024 - 1)))"
done

# The random generator alone, on one core.
if wanted generator; then
    gen=()
    for ((i = 0; i < runs; ++i)); do gen+=("$("$bench" random "$random_mib")"); done
    gen_s=$(median "${gen[@]}")
    gen_rate=$(echo "$random_mib * 1048576 / $gen_s / 1000000000" | bc -l)
    printf 'random-generator %dMiB: scorvane %.3f s = %.2f GB/s, openssl pipe %.2f GB/s, ratio %.2f  %s (target: >= 1 GB/s)\n' \
        "$random_mib" "$gen_s" "$gen_rate" "$pipe_rate" "$(ratio "$gen_rate" "$pipe_rate")" "$(verdict "$gen_rate" ge 1)"
fi

# Free-space fill: an ext4 image of 256 MiB in the work folder, loop-mounted; Scorvane's method 1 (a
# constant '0' fill, flushed, then renamed and deleted) against two plain fills until the disk is full,
# each flushed (conv=fdatasync) and followed by rm of its file, since Scorvane's figure includes its
# clean-up: dd of zeros, and dd of a non-zero random file held in the page cache. Neither reads a pipe.
# Every fill must take at least 99 % of the free space. Needs root for the loop mount.
space_mib=256
space_scorvane() {
    timed "$bench" space 1 "$mnt"  # fails unless it filled the free space and cleaned up
    [[ -z $(ls -A -- "$mnt" | grep -v '^lost+found$') ]] || fail "scorvane-bench left files on the filesystem"
    sc+=("$seconds"); sc_rss+=("$peak_kib")
    sync
}
# Sets `seconds`: dd from SOURCE until the filesystem is full, flushed, then rm of its file.
dd_fill() {
    local start filled
    start=$EPOCHREALTIME
    dd if="$1" of="$mnt/fill" bs=1M conv=fdatasync status=none 2>/dev/null || true  # ends on a full disk
    filled=$(stat -c %s "$mnt/fill")
    rm -f -- "$mnt/fill"
    seconds=$(since "$start")
    ((filled * 100 >= empty_free * 99)) || fail "dd from $1 filled only $filled of $empty_free bytes"
    sync
}
space_dd_zeros() {
    dd_fill /dev/zero
    zeros_t+=("$seconds")
}
space_dd_file() {
    cat -- "$space_source" >/dev/null
    dd_fill "$space_source"
    ddf_t+=("$seconds")
}
if wanted space && ((EUID != 0)); then
    echo "free-space-fill ${space_mib}MiB: skipped (root is needed to loop-mount the image)"
elif wanted space; then
    for tool in mkfs.ext4 mount umount; do
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
    empty_free=$(df --output=avail -B1 "$mnt" | tail -n 1 | tr -d ' ')
    # Larger than the free space, so that its fill too ends on a full disk.
    space_source=$(cached_source "$space_mib" space)
    dd_fill "$space_source"  # a first fill, untimed, settles the image
    sc=(); zeros_t=(); ddf_t=(); sc_rss=()
    for ((i = 0; i < runs; ++i)); do round "$i" space_scorvane space_dd_zeros space_dd_file; done
    umount -- "$mnt" || fail "cannot unmount $mnt"
    rm -f -- "$image" "$space_source"
    sc_s=$(median "${sc[@]}"); zeros_s=$(median "${zeros_t[@]}"); ddf_s=$(median "${ddf_t[@]}")
    r=$(ratio "$sc_s" "$ddf_s")
    printf 'free-space-fill %dMiB: scorvane %.2f s, dd of a cached non-zero file + rm %.2f s, ratio %.2f  %s (target: ratio <= 1.10; peak memory %.1f MiB)\n' \
        "$space_mib" "$sc_s" "$ddf_s" "$r" "$(verdict "$r" le 1.10)" "$(echo "$(max "${sc_rss[@]}") / 1024" | bc -l)"
    r=$(ratio "$sc_s" "$zeros_s")
    printf 'free-space-fill-zeros %dMiB: scorvane %.2f s, dd of zeros + rm %.2f s, ratio %.2f  (no target: zeros cost this disk less than data)\n' \
        "$space_mib" "$sc_s" "$zeros_s" "$r"
fi
