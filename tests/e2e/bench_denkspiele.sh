#!/bin/bash
# The thinking games' windows under a private X server: Memory, the capitals quiz and the donkey
# riddle waiting for the player must each stay under 1% of one core, Memory's flying cards and
# the quiz's blinking verdict under 10%.
#   bench_denkspiele.sh BUILD_DIR
set -u
build=${1:?build folder}
prog="$build/e2e_denkspiele_cpu"
[ -x "$prog" ] || { echo "missing $prog"; exit 1; }
. "$(dirname "$0")/lib/xvfb.sh"
out=$("$prog" 2>/dev/null) || { echo "the benchmark failed"; exit 1; }
echo "$out"
status=0
while read -r zeile; do
  pct=$(echo "$zeile" | sed -n 's/.* cpu \([0-9.]*\)%.*/\1/p')
  case "$zeile" in
    *waiting*) grenze=1 ;;
    *) grenze=10 ;;
  esac
  awk -v p="$pct" -v g="$grenze" 'BEGIN { exit !(p != "" && p < g) }' || { echo "too much processor time: $zeile (limit $grenze%)"; status=1; }
done <<<"$out"
[ "$(echo "$out" | grep -c cpu)" -eq 5 ] || { echo "not every phase was measured"; status=1; }
exit $status
