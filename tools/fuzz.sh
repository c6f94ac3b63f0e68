#!/usr/bin/env bash
# The fuzzing command: installs what is missing, builds the fuzz preset
# (build-fuzz/) and runs each libFuzzer target of fuzz/ for SECONDS (30
# unless given), or for a count of runs, two at a time, or only the targets
# named.
#   tools/fuzz.sh                              every target, 30 seconds each
#   tools/fuzz.sh 600 html_view_fuzz           one target, ten minutes
#   tools/fuzz.sh --runs 10000000 vcard_fuzz   one target, ten million runs
# Each target works in build-fuzz/runs/TARGET/: corpus/ (its seeds from
# fuzz/corpus/TARGET/ and what it found; kept for the next run), artifacts/
# (the inputs of crashes, leaks, timeouts), log, and tmp/ (its temporary
# device). A count of runs is made in processes of at most 100,000 runs each,
# one after the other: a fuzzer's pace falls as its process's heap grows
# (the sanitizer's quarantine, the libraries' caches), and a fresh process
# starts from the kept corpus at full pace. After each process the corpus is
# merged down to the inputs that keep its coverage, so that the next one
# replays those and not every input a mutation ever added. Exits non-zero
# when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=30
total_runs=
chunk=100000
if [ $# -gt 1 ] && [ "$1" = --runs ] && [[ "$2" =~ ^[0-9]+$ ]]; then
  total_runs=$2
  shift 2
elif [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
all=()
for source in fuzz/*_fuzz.cpp; do all+=("$(basename "$source" .cpp)"); done
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")
for t in "${targets[@]}"; do
  if [[ ! " ${all[*]} " =~ " $t " ]]; then
    echo "unknown target: $t (targets: ${all[*]})" >&2
    exit 2
  fi
done

tools/deps.sh fuzz
tools/build.sh fuzz >/dev/null

runs="$PWD/build-fuzz/runs"
# The freed memory the sanitizer holds back to catch a use after free: an
# eighth of its default, and still 160 times what html_view_fuzz's largest
# input frees (0.2 MB). The leak check that follows an input which kept
# memory walks every chunk the heap ever held, so a smaller heap makes
# html_view_fuzz 30 % faster (and 380 MB instead of 940).
quarantine=quarantine_size_mb=32
# Target $1 with the arguments that follow, on a temporary device of its
# own, its output added to the log.
run_target() {
  local t=$1 dir="$runs/$1"
  shift
  rm -rf "$dir/tmp" && mkdir -p "$dir/tmp"
  TMPDIR="$dir/tmp" XDG_CACHE_HOME="$dir/tmp" UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp" ASAN_OPTIONS="${ASAN_OPTIONS:-$quarantine}" \
    build-fuzz/bin/"$t" "$@" -timeout=30 -artifact_prefix="$dir/artifacts/" >>"$dir/log" 2>&1
}

# One fuzzer process of target $1 with the limits that follow.
fuzz_process() {
  local t=$1
  shift
  run_target "$t" "$@" -print_final_stats=1 "$runs/$t/corpus"
}

# The corpus of target $1 reduced to the inputs that keep its coverage. The
# merge runs every input again; one that fails now is a finding, as in a
# fuzzer process.
merge_corpus() {
  local t=$1 dir="$runs/$1" before
  before=$(wc -l <"$dir/log")
  rm -rf "$dir/merged" && mkdir -p "$dir/merged"
  run_target "$t" -merge=1 "$dir/merged" "$dir/corpus" || return
  if awk -v from="$before" 'NR > from && /^==[0-9]+==ERROR|^SUMMARY: / { found = 1 } END { exit !found }' \
    "$dir/log"; then return 1; fi
  rm -rf "$dir/corpus" && mv "$dir/merged" "$dir/corpus"
}

run_one() {
  local t=$1 dir="$runs/$1"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  cp -n fuzz/corpus/"$t"/* "$dir/corpus/" 2>/dev/null || true
  : >"$dir/log"
  if [ -z "$total_runs" ]; then
    fuzz_process "$t" -max_total_time="$seconds" || return
    merge_corpus "$t"
    return
  fi
  local left=$total_runs n
  while [ "$left" -gt 0 ]; do
    n=$((left < chunk ? left : chunk))
    fuzz_process "$t" -runs="$n" -max_total_time=0 || return
    left=$((left - $(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -1)))
    merge_corpus "$t" || return
  done
}

report() {
  local t=$1 status=$2 log="$runs/$1/log"
  local execs rate cov
  # Summed over the log's processes; the pace is runs over their time.
  read -r execs rate < <(awk '/^stat::number_of_executed_units:/ { units = $2; runs += units }
    /^stat::average_exec_per_sec:/ { if ($2 > 0) time += units / $2 }
    END { if (time > 0) printf "%d %d\n", runs, runs / time; else printf "%d ?\n", runs }' "$log")
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*' "$log" | tail -1 || true)
  if [ "$status" -eq 0 ]; then
    printf '%-26s %10s runs %7s/s  %-32s clean\n' "$t" "${execs:-?}" "${rate:-?}" "$cov"
  elif grep -q 'run interrupted' "$log"; then
    printf '%-26s %10s runs %7s/s  %-32s interrupted (a signal stopped it)\n' "$t" "${execs:-?}" "${rate:-?}" "$cov"
  else
    printf '%-26s %10s runs %7s/s  %-32s FOUND SOMETHING (exit %s): %s\n' "$t" "${execs:-?}" "${rate:-?}" "$cov" \
      "$status" "$(grep -m1 -E 'ERROR|SUMMARY|check failed|runtime error' "$log" || echo "see $log")"
  fi
}

if [ -n "$total_runs" ]; then each="$total_runs runs"; else each="$seconds seconds"; fi
echo "fuzzing ${#targets[@]} target(s), $each each, two at a time (logs in build-fuzz/runs/)"
failed=0
declare -A pid_of
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge 2 ]; do sleep 1; done
  run_one "$t" &
  pid_of[$t]=$!
done
for t in "${targets[@]}"; do
  status=0
  wait "${pid_of[$t]}" || status=$?
  report "$t" "$status"
  [ "$status" -eq 0 ] || failed=1
done
exit $failed
