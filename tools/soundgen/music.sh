#!/usr/bin/env bash
# Synthesises the six effect files of the table with sox into OUT/music:
# the looping background tune from tune.txt and five short effects.
# Mono, 22050 Hz, 16 bit.
# Usage: music.sh OUT_DIR INPUT_DIR
set -euo pipefail
out=$1
in=$2
work="$out/music.new"
rm -rf "$work"
mkdir -p "$work"
fmt=(-r 22050 -c 1 -b 16)
make() { sox -q -n "${fmt[@]}" "$work/$1" "${@:2}"; }

# --- Effects ---------------------------------------------------------------

# A discard: a tile clacked onto the table, a wooden knock with a bright edge.
make dapai.wav synth 0.14 pinknoise synth 0.14 sine mix 820 \
  lowpass 3200 fade h 0.001 0.14 0.12 norm -2
# A tile taken from the wall: a soft, short tick.
make qupai.wav synth 0.06 pinknoise highpass 1500 lowpass 5000 fade h 0.001 0.06 0.05 norm -9
# Shuffling: tiles swirled on the cloth, a rustle that swells and ebbs.
make xipai.wav synth 1.6 pinknoise tremolo 13 85 lowpass 4200 fade q 0.25 1.6 0.45 norm -4
# Dice: knocks that come quicker and softer as the dice settle.
dice=()
for step in "0.06 0" "0.11 -2" "0.08 -4" "0.07 -6" "0.05 -9" "0.04 -12" "0.03 -15"; do
  read -r gap level <<< "$step"
  [ ${#dice[@]} -eq 0 ] || dice+=(:)
  dice+=(synth 0.03 brownnoise synth 0.03 sine mix 1400 fade h 0.001 0.03 0.025 gain "$level" pad 0 "$gap")
done
make zhise.wav "${dice[@]}" norm -3
# The countdown warning: a short clear beep.
make tishi.wav synth 0.16 sine 1046.5 fade h 0.004 0.16 0.06 norm -5

# --- The background tune -----------------------------------------------------

# "NAME:BEATS" -> sox synth chains, one note each; beat length from the tempo.
tempo=$(awk '$1 == "tempo" { print $2 }' "$in/tune.txt")
notes() { awk -v part="$1" '$1 == part { for (i = 2; i <= NF; ++i) print $i }' "$in/tune.txt"; }
beats() { notes "$1" | awk -F: '{ s += $2 } END { print s }'; }
# Semitones from A4 for a note such as F#4.
semitones() {
  local name=${1%[0-9]} octave=${1: -1}
  local -A base=([C]=-9 [D]=-7 [E]=-5 [F]=-4 [G]=-2 [A]=0 [B]=2)
  local n=${base[${name:0:1}]}
  [ "${name:1}" != "#" ] || n=$((n + 1))
  echo $((n + 12 * (octave - 4)))
}
# One part rendered: each note `voice` at its pitch, shaped by `shape`.
render() {
  local part=$1 voice=$2 release=$3 chain=()
  while IFS=: read -r note count; do
    local seconds
    seconds=$(awk -v b="$count" -v t="$tempo" 'BEGIN { printf "%.4f", b * 60 / t }')
    [ ${#chain[@]} -eq 0 ] || chain+=(:)
    if [ "$note" = R ]; then
      chain+=(synth "$seconds" sine 0 vol 0)
    else
      chain+=(synth "$seconds" "$voice" "%$(semitones "$note")" fade h 0.004 "$seconds" "$release")
    fi
  done < <(notes "$part")
  sox -q -n "${fmt[@]}" "$work/$part.wav" "${chain[@]}"
}

melody_beats=$(beats melody)
if [ "$melody_beats" != "$(beats bass)" ]; then
  echo "music.sh: melody ($melody_beats beats) and bass ($(beats bass)) differ in length" >&2
  exit 1
fi
length=$(awk -v b="$melody_beats" -v t="$tempo" 'BEGIN { printf "%.4f", b * 60 / t }')
render melody pluck 0.12
render bass pluck 0.3
# Mixed and given a little room; the reverberation that rings past the end
# is laid over the beginning, so the last sample leads straight into the
# first when the tune loops.
sox -q -m -v 0.5 "$work/melody.wav" -v 0.35 "$work/bass.wav" "${fmt[@]}" "$work/full.wav" \
  gain -3 pad 0 2.5 reverb 40 50 60 100 20 gain -n -3
sox -q "$work/full.wav" "$work/body.wav" trim 0 "$length"
sox -q "$work/full.wav" "$work/tail.wav" trim "$length"
sox -q -m -v 1 "$work/body.wav" -v 1 "$work/tail.wav" "${fmt[@]}" "$work/majiang.wav" gain -n -4
rm "$work"/{melody,bass,full,body,tail}.wav

rm -rf "$out/music"
mv "$work" "$out/music"
