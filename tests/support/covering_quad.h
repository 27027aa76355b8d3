// Two triangles that cover the whole target, each corner four floats (x, y, z, w) in clip space: what the
// tests that draw a row of pixels with one program on several drivers feed its position input.
#pragma once

inline constexpr float kCoveringQuad[6][4] = {{-1, -1, 0.5f, 1}, {-1, 1, 0.5f, 1}, {1, -1, 0.5f, 1},
                                              {1, -1, 0.5f, 1},  {-1, 1, 0.5f, 1}, {1, 1, 0.5f, 1}};
