# The tree cases of compare.sh; sourced by it. Each round makes the same tree afresh for every tool, once
# copied by cp and once written in 4 KiB pieces ($kind, see make_tree).

# The destroy-folder command through the program's real Qt views and yields (Qt's offscreen platform)
# against the same command headless.
gui_views() {
    make_tree "$gui_files" "$i" "$kind"
    timed env QT_QPA_PLATFORM=offscreen "$gui_bench" gui-folder 0 "$tree"
    tree_gone scorvane-gui-bench
    gui_t+=("$seconds")
}
gui_headless() {
    make_tree "$gui_files" "$i" "$kind"
    timed "$bench" folder 0 "$tree"
    tree_gone scorvane-bench
    headless_t+=("$seconds")
}
if wanted gui; then
    for kind in "${kinds[@]}"; do
        gui_t=(); headless_t=()
        for ((i = 0; i < runs; ++i)); do round "$i" gui_views gui_headless; done
        gui_s=$(median "${gui_t[@]}"); headless_s=$(median "${headless_t[@]}")
        r=$(ratio "$gui_s" "$headless_s")
        printf 'tree-gui %d files, %s: scorvane through its views %.2f s, headless %.2f s, ratio %.2f  %s (target: ratio <= 1.20)\n' \
            "$gui_files" "$(kind_name "$kind")" "$gui_s" "$headless_s" "$r" "$(verdict "$r" le 1.20)"
    done
fi

# Method 0 on a tree against shred as one would run it on one: each file overwritten once and removed
# (renamed down to one letter with a flush at each step, or only unlinked), then the folders by rm -r.
tree_scorvane() {
    make_tree "$tree_files" "$i" "$kind"
    timed "$bench" folder 0 "$tree"
    tree_gone scorvane-bench
    tree_t+=("$seconds"); tree_rss+=("$peak_kib")
}
# Sets `seconds`: shred with the options given, then rm -r; fails unless shred removed every file.
shred_tree() {
    make_tree "$tree_files" "$i" "$kind"
    local start shred_s left
    start=$EPOCHREALTIME
    find "$tree" -type f -exec shred -n1 -u "$@" {} + || fail "shred failed"
    shred_s=$(since "$start")
    left=$(find "$tree" -type f | wc -l)
    ((left == 0)) || fail "shred $* left $left of $tree_files files"
    start=$EPOCHREALTIME
    rm -r -- "$tree"
    seconds=$(echo "$shred_s + $(since "$start")" | bc -l)
    tree_gone "rm -r"
}
tree_shred_unlink() {
    shred_tree --remove=unlink
    unlink_t+=("$seconds")
}
tree_shred() {
    shred_tree
    wipesync_t+=("$seconds")
}
if wanted trees; then
    for kind in "${kinds[@]}"; do
        tree_t=(); tree_rss=(); unlink_t=(); wipesync_t=()
        for ((i = 0; i < runs; ++i)); do round "$i" tree_scorvane tree_shred_unlink tree_shred; done
        tree_s=$(median "${tree_t[@]}"); unlink_s=$(median "${unlink_t[@]}"); wipesync_s=$(median "${wipesync_t[@]}")
        made=$(kind_name "$kind")
        r=$(ratio "$tree_s" "$unlink_s")
        printf 'tree-shred-unlink %d files, %s: scorvane %.2f s, find -exec shred -n1 -u --remove=unlink + rm -r %.2f s, ratio %.2f  %s (target: ratio <= 1.00)\n' \
            "$tree_files" "$made" "$tree_s" "$unlink_s" "$r" "$(verdict "$r" le 1.00)"
        r=$(ratio "$tree_s" "$wipesync_s")
        printf 'tree-shred %d files, %s: scorvane %.2f s, find -exec shred -n1 -u + rm -r %.2f s, ratio %.2f  %s (target: ratio <= 1.00; peak memory %.1f MiB)\n' \
            "$tree_files" "$made" "$tree_s" "$wipesync_s" "$r" "$(verdict "$r" le 1.00)" "$(echo "$(max "${tree_rss[@]}") / 1024" | bc -l)"
    done
fi
