#!/usr/bin/env bash
# The practice table: starts the practice server, a lobby stand-in per
# client and four clients (the user's own and three in automatic mode),
# and stops them all again when the user's window closes, the game ends or
# Ctrl+C is pressed.
#
#   practice/launch.sh BUILD_DIR [--hands N] [--headless] [--out DIR]
#                      [--seed N] [--port N] [--watch N [--watch-late]]
#                      [SERVER_OPTIONS...]
#
# With --watch N a spectator client watches client N's seat (0 is the
# user's; the clients log in in the order 1, 2, 3, 0, so client N holds
# server seat (N + 3) mod 4, whose player has user id 1000 + that seat).
# It has its own program directory OUT/table/watch, trace
# OUT/trace-watch.jsonl and screenshots OUT/watch-shot-K.png taken with the
# user's (and client N's as OUT/watched-shot-K.png), and its own lobby stand-in in a lobby channel folder of its own
# (a spectator's command line cannot give it window titles of its own).
# With --watch-late it joins in the middle of the first hand instead, and
# the server's snapshot lays out the running hand.
#
# With --headless, or with no display, every client runs offscreen and the
# game ends after --hands hands (3 unless given). The output folder (named
# at the end) keeps the server's output and hand log, each client's trace
# and the user's screenshots taken in the middle of each hand and at each
# settlement. Each client has its own program directory OUT/table/seatN,
# with the shared sounds at OUT/table/common.
set -euo pipefail

build=$(cd "$1" && pwd)
shift
hands="" headless=0 out="" port=0 seed="" watch="" watch_late=0
server_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --hands) hands=$2; shift 2 ;;
    --headless) headless=1; shift ;;
    --out) out=$2; shift 2 ;;
    --port) port=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --watch) watch=$2; shift 2 ;;
    --watch-late) watch_late=1; shift ;;
    *) server_args+=("$1"); shift ;;
  esac
done
case "$watch" in
  ""|0|1|2|3) ;;
  *) echo "practice: --watch takes a client number 0-3" >&2; exit 2 ;;
esac
if [ "$watch_late" = 1 ] && [ -z "$watch" ]; then echo "practice: --watch-late needs --watch N" >&2; exit 2; fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then headless=1; fi
if [ "$headless" = 1 ] && [ -z "$hands" ]; then hands=3; fi
[ -n "$out" ] || out="$(pwd)/practice-out/$(date +%Y%m%d-%H%M%S)"
mkdir -p "$out/table"
out=$(cd "$out" && pwd)

server_bin="$build/practice/tessaly-practice-server"
client_bin="$build/src/tessaly"
lobby_bin="$build/tools/tessaly-lobby"

# A private folder for the lobby channel, so that nothing else on the
# machine answers to the titles used here.
runtime=$(mktemp -d /tmp/tessaly-practice.XXXXXX)
chmod 700 "$runtime"
watch_runtime="$runtime/watch"
mkdir -m 700 "$watch_runtime"

pids=()
cleanup() {
  trap - EXIT INT TERM
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    alive=0
    for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && alive=1; done
    [ "$alive" = 0 ] && break
    sleep 0.2
  done
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$runtime"
  echo "practice: the table's output is in $out"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The server: fast timings when nobody at the table is a person.
args=(--port "$port" --log "$out/server.log" --events)
[ -n "$seed" ] && args+=(--seed "$seed")
[ -n "$hands" ] && args+=(--hands "$hands")
[ "$headless" = 1 ] && args+=(--turn-seconds 1 --timeout-limit 0 --answer-ms 3000 --pace-ms 500 --ready-ms 8000)
# A spectator pauses after every draw, discard and claim: the table waits
# long enough for it to keep up.
[ -n "$watch" ] && args+=(--pace-ms 2500)
"$server_bin" "${args[@]}" "${server_args[@]}" > "$out/server.out" 2> "$out/server.err" &
server_pid=$!
pids+=("$server_pid")
for _ in $(seq 100); do
  grep -q '^listening' "$out/server.out" 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || { cat "$out/server.err" >&2; exit 1; }
  sleep 0.1
done
port=$(awk '/^listening/ { print $2; exit }' "$out/server.out")
[ -n "$port" ] || { echo "practice: the server did not start" >&2; exit 1; }

export XDG_RUNTIME_DIR="$runtime"
ln -sfn "$build/common" "$out/table/common"

# Seat 0 is the user's: an ordinary command line, answered by a lobby with
# the lobby's usual title. Seats 1-3 play automatically, each with its own
# lobby and window titles. Every client looks for the usual lobby first, at
# start-up, so all lobbies stand before the first client starts.
lobby_title() { if [ "$1" = 0 ]; then echo Orvane; else echo "PracticeLobby$1"; fi; }
client_title() { if [ "$1" = 0 ]; then echo Tessaly; else echo "PracticeBot$1"; fi; }
for n in 0 1 2 3; do
  "$lobby_bin" --title "$(lobby_title "$n")" --client "$(client_title "$n")" < /dev/null > "$out/lobby$n.log" 2>&1 &
  pids+=("$!")
  for _ in $(seq 50); do grep -q '^ready' "$out/lobby$n.log" 2>/dev/null && break; sleep 0.1; done
done
start_client() {
  local n=$1 line
  mkdir -p "$out/table/seat$n"
  if [ "$n" = 0 ]; then
    line="player\$practice\$127.0.0.1\$$port\$练习桌\$0\$\$0\$\$\$0\$\$\$"
  else
    line="bot$n\$practice\$127.0.0.1\$$port\$练习桌\$0\$\$0\$\$\$1\$$(lobby_title "$n")\$$(client_title "$n")\$"
  fi
  local env=(TESSALY_HOME="$out/table/seat$n" TESSALY_TRACE="$out/trace$n.jsonl")
  if [ "$n" != 0 ] && [ "$n" = "$watch" ]; then env+=(TESSALY_SHOTS="$out/watched-shot"); fi
  if [ "$n" = 0 ]; then
    env+=(TESSALY_SHOTS="$out/table-shot")
    [ "$headless" = 1 ] && env+=(SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TESSALY_MESSAGEBOX=auto)
  else
    env+=(SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TESSALY_MESSAGEBOX=auto)
  fi
  env "${env[@]}" "$client_bin" "$line" > "$out/client$n.log" 2>&1 &
  pids+=("$!")
  client_pid=$!
  [ "$n" = "$watch" ] && watched_pid=$client_pid
  return 0
}
# The spectator: a five-field command line ending in the watched player's
# user id, its login key naming that player to the server. It waits at the
# server for the fourth seat, so it follows the table from the first deal.
watch_pid="" watched_pid=""
start_spectator() {
  local seat=$(( (watch + 3) % 4 ))
  local id=$((1000 + seat))
  mkdir -p "$out/table/watch"
  XDG_RUNTIME_DIR="$watch_runtime" "$lobby_bin" --title Orvane --client Tessaly < /dev/null > "$out/lobby-watch.log" 2>&1 &
  pids+=("$!")
  for _ in $(seq 50); do grep -q '^ready' "$out/lobby-watch.log" 2>/dev/null && break; sleep 0.1; done
  local env=(XDG_RUNTIME_DIR="$watch_runtime" TESSALY_HOME="$out/table/watch" TESSALY_TRACE="$out/trace-watch.jsonl"
             TESSALY_SHOTS="$out/watch-shot")
  [ "$headless" = 1 ] && env+=(SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy TESSALY_MESSAGEBOX=auto)
  env "${env[@]}" "$client_bin" "watcher\$practice#$id\$127.0.0.1\$$port\$练习桌\$$id" > "$out/client-watch.log" 2>&1 &
  pids+=("$!")
  watch_pid=$!
  for _ in $(seq 100); do grep -q '"ev":"recv"' "$out/trace-watch.jsonl" 2>/dev/null && break; sleep 0.1; done
}
# Every client holds the usual window title until its command line gives it
# its own, so each starts once the one before has posted its login (22).
for n in 1 2 3 0; do
  [ "$n" = 0 ] && [ -n "$watch" ] && [ "$watch_late" = 0 ] && start_spectator
  start_client "$n"
  for _ in $(seq 100); do grep -q '"msg":22,' "$out/trace$n.jsonl" 2>/dev/null && break; sleep 0.1; done
done
user_pid=$client_pid

# Screenshots of the user's table: 2 s after the middle of each hand and 4 s
# after each settlement, once the client has caught up with the messages.
shots_due=()
events_seen() { grep -c "^event $1" "$out/server.out" 2>/dev/null || true; }
seen_mid=0 seen_settled=0
echo "practice: playing on port $port; output in $out"
while kill -0 "$user_pid" 2>/dev/null && kill -0 "$server_pid" 2>/dev/null; do
  now=$(date +%s)
  mid=$(events_seen mid-hand)
  settled=$(events_seen settled)
  if [ "$mid" -gt "$seen_mid" ]; then
    seen_mid=$mid
    if [ "$watch_late" = 1 ] && [ -z "$watch_pid" ]; then start_spectator; now=$(date +%s); fi
    shots_due+=($((now + 2)))
  fi
  if [ "$settled" -gt "$seen_settled" ]; then seen_settled=$settled; shots_due+=($((now + 4))); fi
  keep=()
  for due in "${shots_due[@]}"; do
    if [ "$due" -le "$now" ]; then
      kill -USR2 "$user_pid" 2>/dev/null || true
      for pid in $watch_pid $watched_pid; do
        [ "$pid" = "$user_pid" ] || kill -USR2 "$pid" 2>/dev/null || true
      done
    else
      keep+=("$due")
    fi
  done
  shots_due=("${keep[@]}")
  sleep 0.5
done
# The game ended: a moment for the clients to take its last messages.
kill -0 "$user_pid" 2>/dev/null && sleep 3
grep '^hand ' "$out/server.out" || true
