#include "training/OwnSigns.h"

#include <algorithm>

std::vector<int> ownSigns(int fromKey, OwnAccidentals kinds) {
    std::vector<int> signs;
    if (kinds == OwnAccidentals::None)
        return signs;
    if (kinds != OwnAccidentals::Flats)
        signs.push_back(1);
    if (kinds != OwnAccidentals::Sharps)
        signs.push_back(-1);
    if (fromKey != 0)
        signs.push_back(0);
    std::erase(signs, fromKey);
    return signs;
}
