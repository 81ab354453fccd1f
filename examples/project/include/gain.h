#ifndef GAIN_H
#define GAIN_H

/* Scales a sample by a gain factor. */
float gain(float sample, float factor);
/* Limits a sample to [-limit, limit]. */
float clip(float sample, float limit);

#endif
