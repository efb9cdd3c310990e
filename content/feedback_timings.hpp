#pragma once
// How long each game lets the pupil listen before it goes on (milliseconds), kept once for the
// features above: the window stays painted meanwhile and input waits (ui::feedback_wait).
namespace tb::feedback {

// Practice and find: after the prompt clip that opens a round, after a right answer, after a
// wrong one.
inline constexpr int kPromptWaitMs = 7000;
inline constexpr int kRightWaitMs = 3000;
inline constexpr int kWrongWaitMs = 4000;
// Fill-in and ordering windows: after the feedback clip of either answer.
inline constexpr int kExerciseWaitMs = 4000;
// Reading along: after each item; with "每句后停一停", the item's clip and this much more, time
// to say it aloud.
inline constexpr int kReadAlongPauseMs = 600;
inline constexpr int kRepeatPauseExtraMs = 1000;
// Repeating after the voice: the recording ends this long after the pupil stops speaking, or at
// twice the model clip's length and this much more.
inline constexpr int kSilenceAfterSpeechMs = 800;
inline constexpr int kLimitExtraMs = 1500;

}  // namespace tb::feedback
