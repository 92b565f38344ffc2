#!/usr/bin/env bash
# Speaks every voice file of the table with espeak-ng: for both voice
# families and each of the five voices, the 34 tile names, the claim words
# and the voice phrases, as OUT/mj/v<family><VoiceId><Gender><VoiceByte><name>.wav
# (mono, 22050 Hz, 16 bit, silence trimmed, peaks at -3 dB).
# Usage: voices.sh OUT_DIR INPUT_DIR
set -euo pipefail
out=$1
in=$2
work="$out/mj.new"
rm -rf "$work"
mkdir -p "$work"

# Lines of the input files without comments and blank lines.
rows() { grep -v '^\s*#' "$1" | sed '/^\s*$/d'; }

# One job a line: file, espeak voice, pitch, speed, text.
jobs="$work/jobs.tsv"
while IFS=$'\t' read -r family language column; do
  while IFS=$'\t' read -r voice_id gender voice_byte variant pitch speed; do
    prefix="v$family$voice_id$gender$voice_byte"
    rows "$in/words.tsv" | cut -f1,"$column" | while IFS=$'\t' read -r name text; do
      printf '%s\t%s\t%s\t%s\t%s\n' "$prefix$name.wav" "$language+$variant" "$pitch" "$speed" "$text"
    done
    k=0
    rows "$in/chat_phrases.txt" | while IFS= read -r text; do
      k=$((k + 1))
      printf '%s\t%s\t%s\t%s\t%s\n' "${prefix}a$k.wav" "$language+$variant" "$pitch" "$speed" "$text"
    done
  done < <(rows "$in/voices.tsv")
done < <(rows "$in/families.tsv") > "$jobs"

# Every second job from `first` on.
speak() {
  awk -v first="$1" 'NR % 2 == first' "$jobs" | while IFS=$'\t' read -r file voice pitch speed text; do
    espeak-ng -v "$voice" -p "$pitch" -s "$speed" --stdout "$text" |
      sox -q -t wav - -r 22050 -c 1 -b 16 "$work/$file" \
        silence 1 0.01 -45d reverse silence 1 0.01 -45d reverse pad 0 0.03 norm -3
  done
}
speak 0 & first_half=$!
speak 1
wait "$first_half"

rm "$jobs"
rm -rf "$out/mj"
mv "$work" "$out/mj"
