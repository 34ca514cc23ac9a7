#!/usr/bin/env bash
# One bounded fuzz run from a copy of the seeds, with a fixed random seed
# (KVP_FUZZ_SEED); fails on a finding, printed and kept in SCRATCH/findings/.
#   run-fuzz.sh TARGET SEEDS SCRATCH SECONDS
set -euo pipefail
target=$1 seeds=$2 scratch=$3 seconds=$4
seed=${KVP_FUZZ_SEED:-$(basename "$target" | cksum | cut -d' ' -f1)}
# SCRATCH is emptied only when it holds nothing but what this script puts
# there: a wrong argument must not wipe a folder of someone else's.
if [ -e "$scratch" ] && { [ ! -d "$scratch" ] ||
     [ -n "$(find "$scratch" -mindepth 1 -maxdepth 1 ! -name corpus ! -name findings -print -quit)" ]; }; then
  echo "run-fuzz: $scratch holds what this script did not make; name another folder" >&2
  exit 2
fi
rm -rf --one-file-system "$scratch"
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
