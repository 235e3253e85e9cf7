// The marker's easing as the tests expect it, written once for every test
// that follows the marker's size frame by frame: the step is rate x frame
// time clamped to [0, 1] (a step that is no number counts as 0), and the
// visibility moves that share of the way to the goal. Single precision in
// this order; volatile keeps each result rounded to a float, as the script's.
#pragma once

inline float eased_visibility(float visibility, float goal, float rate, float frame_time) {
    volatile float step = rate * frame_time;
    if (step < 0.0f) step = 0.0f;
    if (step > 1.0f) step = 1.0f;
    if (step != step) step = 0.0f;
    volatile float distance = goal - visibility;
    volatile float change = distance * step;
    return visibility + change;
}
