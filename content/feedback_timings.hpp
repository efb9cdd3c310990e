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

}  // namespace tb::feedback
