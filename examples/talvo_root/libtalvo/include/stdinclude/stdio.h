/* Minimal standard I/O header of the bundled installation root.
   The C reader stand-in only needs it to exist; real programs get the
   declarations they use from here. */
#ifndef TALVO_STDIO_H
#define TALVO_STDIO_H

typedef struct talvo_file FILE;
typedef unsigned long size_t;

extern FILE *stdin;
extern FILE *stdout;
extern FILE *stderr;

int printf(const char *format, ...);
int fprintf(FILE *stream, const char *format, ...);
int puts(const char *text);

#endif
