# The walk cases of compare.sh; sourced by it. A folder of $walk_files small files, flat and as a tree,
# against the disk's own cost of the same work and against shred.

# COUNT files of 1 to 8 KiB at $walk, random content, on the disk before the timing starts: in one folder
# (flat) or in 200 folders (tree: 20 folders of 9 sub-folders each); the same SEED makes the same files.
# $walk is the only entry of its own folder, so that whatever a run leaves, under any name, is seen.
walk=$work/walks/walk
make_walk() {
    rm -rf -- "$work/walks"
    mkdir -p -- "$work/walks"
    random_stream "walk$2" | perl -e '
        my ($count, $top, $shape) = @ARGV;
        srand(7);
        mkdir $top or die "$top: $!";
        my @folders = ($top);
        if ($shape eq "tree") {
            @folders = ();
            for my $a (0 .. 19) {
                push @folders, "$top/a$a";
                mkdir $folders[-1] or die "$!";
                for my $b (0 .. 8) { push @folders, "$top/a$a/b$b"; mkdir $folders[-1] or die "$!"; }
            }
        }
        for my $i (0 .. $count - 1) {
            my $size = 1024 + int(rand(7169));
            read(STDIN, my $data, $size) == $size or die "short read";
            open(my $f, ">", $folders[$i % @folders] . "/f$i") or die "$!";
            binmode $f;
            print $f $data;
            close $f or die "$!";
        }' "$1" "$walk" "$3" || fail "cannot make a $3 folder of $1 files"
    (($(find "$walk" -type f | wc -l) == $1)) || fail "the $3 folder has not $1 files"
    sync
}
walk_gone() {
    [[ -z $(ls -A -- "$work/walks") ]] || fail "$1 left $(find "$work/walks" -mindepth 1 | wc -l) entries"
}

walk_flat() {
    make_walk "$walk_files" "$i" flat
    timed "$bench" folder 0 "$walk"
    walk_gone "scorvane-bench on a flat folder"
    flat_t+=("$seconds")
}
walk_tree() {
    make_walk "$walk_files" "$i" tree
    timed "$bench" folder 0 "$walk"
    walk_gone "scorvane-bench on a tree"
    walk_tree_t+=("$seconds")
}
walk_disk_cost() {
    make_walk "$walk_files" "$i" tree
    timed "$disk_cost" "$walk"
    walk_gone scorvane-disk-cost
    cost_t+=("$seconds")
}
walk_shred() {
    make_walk "$walk_files" "$i" tree
    local start left
    start=$EPOCHREALTIME
    find "$walk" -type f -exec shred -n1 -u --remove=unlink {} + || fail "shred failed"
    left=$(find "$walk" -type f | wc -l)
    ((left == 0)) || fail "shred --remove=unlink left $left of $walk_files files"
    rm -r -- "$walk"
    walk_shred_t+=("$(since "$start")")
    walk_gone "shred + rm -r"
}

if wanted walks; then
    [[ -x $disk_cost ]] || fail "no $disk_cost: build it first (make -C build scorvane-disk-cost)"
    flat_t=(); walk_tree_t=(); cost_t=(); walk_shred_t=()
    for ((i = 0; i < runs; ++i)); do round "$i" walk_flat walk_tree walk_disk_cost walk_shred; done
    flat_s=$(median "${flat_t[@]}"); walk_tree_s=$(median "${walk_tree_t[@]}")
    cost_s=$(median "${cost_t[@]}"); walk_shred_s=$(median "${walk_shred_t[@]}")
    r=$(ratio "$flat_s" "$walk_tree_s")
    printf 'walk-flat %d files: scorvane in one folder %.2f s, in 200 folders %.2f s, ratio %.2f  %s (target: ratio <= 1.20)\n' \
        "$walk_files" "$flat_s" "$walk_tree_s" "$r" "$(verdict "$r" le 1.20)"
    r=$(ratio "$walk_tree_s" "$cost_s")
    printf "walk-disk-cost %d files: scorvane %.2f s, the same disk work in C (scorvane-disk-cost) %.2f s, ratio %.2f  %s (target: ratio <= 1.05; against shred -n1 -u --remove=unlink + rm -r %.2f s: ratio %.2f)\n" \
        "$walk_files" "$walk_tree_s" "$cost_s" "$r" "$(verdict "$r" le 1.05)" "$walk_shred_s" "$(ratio "$walk_tree_s" "$walk_shred_s")"
fi
