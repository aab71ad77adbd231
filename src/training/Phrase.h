#pragma once

#include <functional>
#include <span>
#include <vector>

// How likely a phrase moves from one staff place to another this many places away: steps
// mostly, thirds often, a fourth to a sixth now and then, a note repeated seldom, nothing wider.
double phraseMotionShare(int distance);

// The staff places of a phrase of `length` notes within lowest..highest, moving as melodies do.
// `weights`, one per place of the range (empty: every place alike), weigh each note as the
// weak-note draw weighs single notes. `random` is uniform in [0, 1).
std::vector<int> drawPhrase(int length, int lowest, int highest, std::span<const double> weights,
                            const std::function<double()>& random);
