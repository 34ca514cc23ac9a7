#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for SECONDS each, one after the
# other on one core, starting from the committed seeds, and prints per target
# the executions, the coverage reached (cov: edges, ft: features) and the
# findings. Builds the fuzz preset first. Findings stay in
# out/build/fuzz/long-runs/TARGET/findings/.
#   tools/fuzz-long-run.sh SECONDS [TARGET...]      e.g. tools/fuzz-long-run.sh 600 lzss shot
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: fuzz-long-run.sh SECONDS [TARGET...]}
shift
cmake/configure.sh fuzz
cmake --build out/build/fuzz -j2 >/dev/null
bin=out/build/fuzz/tests/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do f=${f##*/fuzz_}; targets+=("${f%.cpp}"); done
fi

status=0
printf '%-18s %12s %8s %8s %8s %9s\n' target executions exec/s cov ft findings
for t in "${targets[@]}"; do
  scratch=out/build/fuzz/long-runs/$t
  log=$scratch.log
  mkdir -p "${scratch%/*}"
  set +e
  TZ=JST-9 tests/fuzz/run-fuzz.sh "$bin/fuzz_$t" "tests/fuzz/corpus/$t" "$scratch" "$seconds" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  done_line=$(grep -E '#[0-9]+[[:space:]]+(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
  findings=$(find "$scratch/findings" -type f | wc -l)
  [ "$rc" -ne 0 ] && status=1
  printf '%-18s %12s %8s %8s %8s %9s\n' "$t" "${runs:-?}" "$(( ${runs:-0} / seconds ))" "${cov:-?}" "${ft:-?}" \
    "$findings$([ "$rc" -ne 0 ] && echo " (exit $rc, see $log)")"
done
exit $status
