#include <stdio.h>
#include "gain.h"

#ifndef ORDER
#define ORDER 1
#endif

/* A first-order low-pass filter in floating point. */
float lowpass(float previous, float sample, float alpha)
{
    return previous + alpha * (sample - previous);
}

int main(void)
{
    float y = 0.0f;
    int k;
    for (k = 0; k < 8; k++) {
        y = lowpass(y, gain((float)k, 0.5f), 0.25f);
        printf("%f\n", y);
    }
    return 0;
}
