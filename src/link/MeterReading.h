#pragma once

// Where the current step of an operation stands, as the engine counts it:
// `value` of `max` frames (value is the frames sent plus replies completed,
// halved). How it is drawn is up to the view.
struct MeterReading
{
    int value = 0;
    int max = 0;

    // The share done in whole percent, one frame ahead of `value` and rounded
    // half to even, as the device link has always counted. Not capped: the
    // last frames of a step count past 100, and the communication window's
    // line grows with them. 0 before the first frame of a step.
    int progress() const;
    // The same, capped at 100: what a reader is told.
    int percent() const;
};
