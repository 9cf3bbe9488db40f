#!/usr/bin/env bash
# Installs what the measures need, builds Release in build-bench/ and, in one
# run on this machine: the raw draw floor and the engine's Roll, the exact
# chances of a roll's totals (the statistics window's computation), the main
# window's Roll command with its refresh, the start to the shown window (and
# its peak memory) of the program and of an empty Qt dialog with and without a
# line of text, and Debian's rolldice rolling the same 10,000 dice. Ends with
# a Markdown table.
#
# Nothing else should be busy meanwhile: the figures are wall-clock times.
set -euo pipefail

source_dir="$(cd "$(dirname "$0")/.." && pwd)"
build="$source_dir/build-bench"
startup_runs=50
rss_runs=20

# --- start-up: this script calls itself inside a virtual X server ----------
# Times one start-up probe with hyperfine and records its peak memory.
measure_startup() {  # measure_startup NAME COMMAND...
    local name=$1
    shift
    hyperfine -N --warmup 3 --runs "$startup_runs" --export-json "$out/startup-$name.json" \
        "$(printf '%q ' "$@")"
    for _ in $(seq "$rss_runs"); do
        /usr/bin/time -f %M -a -o "$out/startup-$name.rss" "$@" 2>/dev/null
    done
}

if [ "${1:-}" = "--startup-under-x" ]; then
    out=$2
    export QT_QPA_PLATFORM=xcb
    cd "$out/workdir"  # the program reads its settings file from here
    measure_startup program "$build/bench/window/alearo_startup_probe"
    measure_startup empty "$build/bench/window/alearo_startup_baseline"
    measure_startup label "$build/bench/window/alearo_startup_baseline" --label
    exit 0
fi

"$source_dir/scripts/install-bench-deps.sh"
cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DALEARO_BUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF
cmake --build "$build" --parallel "$(nproc)" --target alearo_roll_bench alearo_handler_bench \
    alearo_stats_bench alearo_startup_probe alearo_startup_baseline

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
mkdir -m 700 "$out/workdir" "$out/runtime"
export XDG_RUNTIME_DIR="$out/runtime"
repetitions=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)

echo "## Floor and engine"
"$build/bench/alearo_roll_bench" "${repetitions[@]}" \
    --benchmark_out="$out/roll.json" --benchmark_out_format=json
echo "## Exact chances of the totals"
"$build/bench/alearo_stats_bench" "${repetitions[@]}" \
    --benchmark_out="$out/stats.json" --benchmark_out_format=json
echo "## Roll command of the window"
QT_QPA_PLATFORM=offscreen "$build/bench/window/alearo_handler_bench" "${repetitions[@]}" \
    --benchmark_out="$out/handler.json" --benchmark_out_format=json
echo "## Start to shown window (Xvfb, xcb)"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$source_dir/bench/measure.sh" --startup-under-x "$out"
echo "## Peer: rolldice, 100 rolls of 100d6"
rolldice=/usr/games/rolldice
hyperfine -N --warmup 3 --runs 200 --export-json "$out/rolldice.json" "$rolldice 100x100d6"

# --- the table ---------------------------------------------------------------
# Median wall time of a Google Benchmark run, in milliseconds.
bench_ms() {
    jq -r --arg name "$2_median" '.benchmarks[] | select(.name == $name) |
        .real_time * {"ns": 1e-6, "us": 1e-3, "ms": 1, "s": 1e3}[.time_unit]' "$out/$1.json"
}
# Median of a hyperfine run, in milliseconds.
hyperfine_ms() {
    jq -r '.results[0].median * 1000' "$out/$1.json"
}
# Mean processor time (user and system) of a hyperfine run, in milliseconds.
hyperfine_cpu_ms() {
    jq -r '(.results[0].user + .results[0].system) * 1000' "$out/$1.json"
}
# Median peak resident set, in MB (GNU time reports KiB).
rss_mb() {
    sort -n "$out/$1.rss" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] * 1024 / 1e6 }'
}
verdict() {  # verdict VALUE LIMIT: below the limit or not
    awk -v value="$1" -v limit="$2" 'BEGIN { print (value < limit) ? "yes" : "no" }'
}
fmt() {  # fmt FORMAT VALUE...: printf with a decimal point whatever the locale
    # shellcheck disable=SC2059  # the format is each caller's literal
    LC_ALL=C printf "$@"
}

dice=10000
floor_ms=$(bench_ms roll BM_RawDrawFloor)
engine_ms=$(bench_ms roll BM_EngineRoll)
floor_ns=$(awk -v t="$floor_ms" -v n=$dice 'BEGIN { print t * 1e6 / n }')
engine_ns=$(awk -v t="$engine_ms" -v n=$dice 'BEGIN { print t * 1e6 / n }')
engine_ratio=$(awk -v e="$engine_ns" -v f="$floor_ns" 'BEGIN { print e / f }')
handler_only_ms=$(bench_ms handler BM_RollOnly)
handler_ms=$(bench_ms handler BM_RollAndRefresh)
repaint_ms=$(bench_ms handler BM_RollAndFullRepaint)
startup_ms=$(hyperfine_ms startup-program)
startup_cpu_ms=$(hyperfine_cpu_ms startup-program)
startup_mb=$(rss_mb startup-program)
empty_ms=$(hyperfine_ms startup-empty)
empty_cpu_ms=$(hyperfine_cpu_ms startup-empty)
empty_mb=$(rss_mb startup-empty)
label_ms=$(hyperfine_ms startup-label)
label_cpu_ms=$(hyperfine_cpu_ms startup-label)
label_mb=$(rss_mb startup-label)
rolldice_ms=$(hyperfine_ms rolldice)
stats_worst_ms=$(bench_ms stats ComputeOnce/100d100_all_options)
stats_ten_ms=$(bench_ms stats ComputeOnce/10d100_all_options)
stats_ten_drop_ms=$(bench_ms stats ComputeOnce/10d100_drop)

cpu=$(grep -m1 '^model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
echo
echo "Machine: $cpu, $(nproc) cores; Qt $(dpkg-query -W -f='${Version}' qt6-base-dev)," \
    "$(date -u +%Y-%m-%d). Medians; 5 repetitions of each Google Benchmark," \
    "$startup_runs runs of each start-up (peak memory: $rss_runs runs; CPU: mean" \
    "user + system), 200 of rolldice."
echo
echo "| measure | what it covers | median | goal | met |"
echo "|---|---|---|---|---|"
fmt "| raw draw floor | 20,000 raw 15-bit draws, the 2 per die a Roll consumes | %.3f ms (%.1f ns/die) | | |\n" \
    "$floor_ms" "$floor_ns"
fmt "| engine Roll | 100 rolls of 100 d100, both modifiers, all three options | %.3f ms (%.1f ns/die, %.2fx floor) | within 1.5x floor per die |" \
    "$engine_ms" "$engine_ns" "$engine_ratio"
echo " $(verdict "$engine_ratio" 1.5) |"
fmt "| chances, worst case | every total of 100d100, both modifiers, floor, drop lowest | %.3f ms | under 5 ms |" \
    "$stats_worst_ms"
echo " $(verdict "$stats_worst_ms" 5) |"
fmt "| chances, ten dice | every total of 10d100 with every option (and 10d100 dropping the lowest) | %.3f ms (%.3f ms) | under 0.5 ms |" \
    "$stats_ten_ms" "$stats_ten_drop_ms"
echo " $(verdict "$(awk -v a="$stats_ten_ms" -v b="$stats_ten_drop_ms" 'BEGIN { print (a > b) ? a : b }')" 0.5) |"
fmt "| Roll command alone | the same Roll through the window: taking the form, the roll, the texts, the tidied boxes | %.2f ms | | |\n" \
    "$handler_only_ms"
fmt "| whole Roll | the Roll command, then the layout and paint of what changed (offscreen) | %.2f ms | under 2 ms |" \
    "$handler_ms"
echo " $(verdict "$handler_ms" 2) |"
fmt "| handler, full repaint | as above, then every control of the window painted again | %.2f ms | | |\n" \
    "$repaint_ms"
fmt "| start to shown window | whole process of the program until its first frame (Xvfb) | %.1f ms (CPU %.1f ms) | under 40 ms |" \
    "$startup_ms" "$startup_cpu_ms"
echo " $(verdict "$startup_ms" 40) |"
fmt "| peak memory at shown window | peak RSS of that process | %.1f MB | under 40 MB |" "$startup_mb"
echo " $(verdict "$startup_mb" 40) |"
fmt "| empty Qt dialog (floor) | the same measure for an empty QDialog | %.1f ms (CPU %.1f ms), %.1f MB | | |\n" \
    "$empty_ms" "$empty_cpu_ms" "$empty_mb"
fmt "| Qt dialog with one label (floor) | an empty QDialog showing one line of text | %.1f ms (CPU %.1f ms), %.1f MB | | |\n" \
    "$label_ms" "$label_cpu_ms" "$label_mb"
fmt "| peer: rolldice 100x100d6 | Debian's rolldice, whole process, 100 rolls of 100d6 | %.1f ms | | |\n" \
    "$rolldice_ms"
