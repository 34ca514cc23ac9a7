#!/usr/bin/env bash
# One bounded fuzz run: copies the seed corpus into a scratch folder, replays
# it, explores from it until SECONDS have passed on one core, and fails on any
# finding. The random seed is fixed per target (KVP_FUZZ_SEED overrides it),
# so a run can be repeated; a finding is printed with the seed, the command
# that reproduces it and its bytes, and stays in SCRATCH/findings/.
#   run-fuzz.sh TARGET SEEDS SCRATCH SECONDS
set -euo pipefail
target=$1 seeds=$2 scratch=$3 seconds=$4
seed=${KVP_FUZZ_SEED:-$(basename "$target" | cksum | cut -d' ' -f1)}
rm -rf "$scratch"
mkdir -p "$scratch/corpus" "$scratch/findings"
cp "$seeds"/* "$scratch/corpus/"
status=0
"$target" "$scratch/corpus" -seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$scratch/findings/" || status=$?
for finding in "$scratch/findings"/*; do
  [ -f "$finding" ] || continue
  echo "finding of $(basename "$target") with -seed=$seed: $finding"
  echo "  reproduce: $target $finding"
  od -A x -t x1z -v "$finding" | head -n 64
done
exit $status
