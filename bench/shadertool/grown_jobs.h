// Pixel shaders grown to N = 100, 1,000, 10,000 and 20,000 functions, declarations
// or statements, run through the front end once and translated for every
// target, as the driver does for a source that names no target; each part is
// timed on its own, so that a part that grows faster than the source shows.
#pragma once

#include <string>

// The least-squares slope of log(time) over log(N) of a part of the grown
// translations ("front end" or a target's name), worst of the three shapes;
// 1 is linear. `shape` gets the shape that gave it; 0 when not measured.
double WorstGrowthExponent(const std::string& part, std::string& shape);

// The worst exponent over the front end and every target; `where` names its part and shape.
double WorstGrowthExponent(std::string& where);

void RegisterGrownJobs();

// One line per shape and part: the fastest time of each size in ms, the
// fitted exponent and the exponent of each step from one size to the next.
void PrintGrowthTable();
