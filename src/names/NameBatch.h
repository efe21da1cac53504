#pragma once

#include <QString>
#include <QStringList>

class RandomSource;

// `count` names joined by ", ". For each name one draw picks the mask (position
// floor(r × number of masks)), then the mask's own draws make the name. Empty when count is 0
// or less or there is no mask.
QString GenerateNames(const QStringList &masks, int count, RandomSource &source);
