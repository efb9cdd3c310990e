#!/usr/bin/env bash
# How well the baked voice is understood: a speech recogniser (pocketsphinx, Debian's en-us model)
# transcribes every page, drill and feedback clip, and the word error rate is printed for
# sentences (page lines of three or more words), for words (the drill and word-list clips) and for
# the short page lines, with the ten worst lines and what was heard. The recogniser is only a
# stand-in for a listener, but it ranks voices the way listeners do.
#
#   scripts/voice-check.sh [build dir]     (default: build; the clips must be baked there)
#
# Takes about a second of CPU per clip, on two recognisers at once.
set -euo pipefail
build=${1:-build}
# The recogniser and its model, beside the build's own packages (already there: the clips are baked).
bash "$(dirname "$0")/deps.sh" pocketsphinx pocketsphinx-en-us

manifest=$build/assets/clip_manifest.txt
clips=$build/assets/clips
[ -x "$build/voicecheck" ] || cmake --build "$build" --target voicecheck
[ -f "$manifest" ] && [ -d "$clips" ] || { echo "no baked clips in $build: build first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
model=/usr/share/pocketsphinx/model/en-us
"$build/voicecheck" prep "$manifest" "$clips" "$work"
# Two recognisers, each on half of the clips.
count=$(wc -l <"$work/clips.ctl")
half=$(((count + 1) / 2))
pids=()
for part in 0 1; do
  pocketsphinx_batch -adcin yes -cepdir "$work" -cepext .raw -ctl "$work/clips.ctl" \
    -ctloffset $((part * half)) -ctlcount "$half" -hyp "$work/part$part.hyp" \
    -hmm "$model/en-us" -lm "$model/en-us.lm.bin" -dict "$model/cmudict-en-us.dict" -samprate 16000 \
    >"$work/recogniser$part.log" 2>&1 &
  pids+=($!)
done
for part in 0 1; do
  wait "${pids[$part]}" || { tail -20 "$work/recogniser$part.log" >&2; exit 1; }
done
cat "$work/part0.hyp" "$work/part1.hyp" >"$work/clips.hyp"
"$build/voicecheck" score "$work/clips.ref" "$work/clips.hyp"
