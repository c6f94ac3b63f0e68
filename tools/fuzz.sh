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
# device). Exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=30
limit=()
if [ $# -gt 1 ] && [ "$1" = --runs ] && [[ "$2" =~ ^[0-9]+$ ]]; then
  limit=(-runs="$2" -max_total_time=0)
  shift 2
elif [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
[ ${#limit[@]} -eq 0 ] && limit=(-max_total_time="$seconds")
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
run_one() {
  local t=$1 dir="$runs/$1"
  mkdir -p "$dir/corpus" "$dir/artifacts"
  rm -rf "$dir/tmp" && mkdir -p "$dir/tmp"
  cp -n fuzz/corpus/"$t"/* "$dir/corpus/" 2>/dev/null || true
  TMPDIR="$dir/tmp" XDG_CACHE_HOME="$dir/tmp" UBSAN_OPTIONS=print_stacktrace=1 \
    LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp" \
    build-fuzz/bin/"$t" "${limit[@]}" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$dir/artifacts/" "$dir/corpus" >"$dir/log" 2>&1
}

report() {
  local t=$1 status=$2 log="$runs/$1/log"
  local execs rate cov
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
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

echo "fuzzing ${#targets[@]} target(s), ${limit[0]#-} each, two at a time (logs in build-fuzz/runs/)"
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
