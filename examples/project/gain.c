#include "gain.h"

float gain(float sample, float factor)
{
    return sample * factor;
}

float clip(float sample, float limit)
{
    if (sample > limit) {
        return limit;
    }
    if (sample < -limit) {
        return -limit;
    }
    return sample;
}
