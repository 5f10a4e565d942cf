#pragma once
// Noise levels: one variance per working channel, the red channel (or the luma) first.

struct NoiseLevels {
    double first = 0.0;
    double second = 0.0;
    double third = 0.0;
};

inline double& LevelOf(NoiseLevels& levels, int channel)
{
    return channel == 0 ? levels.first : channel == 1 ? levels.second : levels.third;
}

inline double LevelOf(const NoiseLevels& levels, int channel)
{
    return channel == 0 ? levels.first : channel == 1 ? levels.second : levels.third;
}

inline bool AllZero(const NoiseLevels& levels)
{
    return levels.first == 0.0 && levels.second == 0.0 && levels.third == 0.0;
}
