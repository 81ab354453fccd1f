#include <stdio.h>

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
        y = lowpass(y, (float)k, 0.25f);
        printf("%f\n", y);
    }
    return 0;
}
