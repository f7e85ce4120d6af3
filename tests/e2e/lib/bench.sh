# Sourced by benchmark scripts after lib/xvfb.sh: runs a benchmark program with its arguments and
# reports what the X server itself spent meanwhile; returns the program's status.
bench_mit_xserver() {
  local ticks0 ticks1 t0 t1 status
  ticks0=$(awk '{ print $14 + $15 }' "/proc/$xpid/stat")
  t0=$(date +%s.%N)
  "$@"
  status=$?
  ticks1=$(awk '{ print $14 + $15 }' "/proc/$xpid/stat")
  t1=$(date +%s.%N)
  awk -v a="$ticks0" -v b="$ticks1" -v s="$t0" -v e="$t1" -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "X server meanwhile: %.2f%% of one core\n", 100 * (b - a) / hz / (e - s) }'
  return $status
}
