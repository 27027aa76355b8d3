#pragma once

#include <cstdint>

// How SwitchSegment moves a play-list voice to another entry, by its
// transition flags: at once (the new voice takes the old one's volume and the
// old one stops), or by a cross-fade in which the new voice rises from
// silence to the old one's volume while the old one falls to silence and
// stops, both over the same time.
struct HV_SegmentTransition {
    uint32_t flags;
    float crossFadeSeconds;  // 0 = at once
};

// One row per transition: its flags and its cross-fade time.
constexpr HV_SegmentTransition HV_SEGMENT_TRANSITIONS[] = {
    {0x04, 0.0f},   // immediate
    {0x08, 0.25f},  // short cross-fade: one voice half-buffer
    {0x20, 1.0f},   // cross-fade over a second
    {0x88, 2.0f},   // long cross-fade
};

static_assert(sizeof(HV_SEGMENT_TRANSITIONS) / sizeof(HV_SEGMENT_TRANSITIONS[0]) == 4,
              "one immediate and three fading transitions");
