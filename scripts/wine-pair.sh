# Sourced by the scripts that run window tests: one Wine prefix at 96 dpi and its twin
# "<prefix>-144" at 144 dpi (scripts/wine-run.sh picks the twin for the 144-dpi tests).
# start_wine_pair PREFIX exports WINEPREFIX and stops both servers again when the script exits.
start_wine_pair() {
  export WINEPREFIX="$1"
  wine_pair_pids="$(bash scripts/wine-start.sh "$WINEPREFIX" 96 | tail -n 1)"
  wine_pair_pids+=" $(bash scripts/wine-start.sh "$WINEPREFIX-144" 144 | tail -n 1)"
  trap stop_wine_pair EXIT
}

stop_wine_pair() {
  bash scripts/wine-stop.sh "$WINEPREFIX"
  bash scripts/wine-stop.sh "$WINEPREFIX-144"
  for pid in ${wine_pair_pids:-}; do
    if kill -0 "$pid" 2>/dev/null; then kill "$pid" || true; fi
  done
  trap - EXIT
}
