/* What the reference programs share, whichever RFC library they call: the
 * command line, the profile, the checks before the library is called, the
 * summing of the request-queue table and the document. reference.c calls
 * librfc32, reference_nwrfc.c sapnwrfc; each adds its library's steps. */
#pragma once

#include <stddef.h>
#include <stdint.h>

/* Each step is a function of its own, kept out of line so that callgrind
 * shows what each one costs; a call costs a handful of instructions. */
#define STEP __attribute__((noinline))

/* --- output ------------------------------------------------------------- */

struct buffer {
    char text[4096];
    size_t length;
};

void put(struct buffer* out, const char* text, size_t length);
void puts_(struct buffer* out, const char* text);
void put_escaped(struct buffer* out, const char* text);
/* "label           : field", the field up to its terminator or size. */
void put_label_line(struct buffer* out, const char* label, const char* field, size_t size);
void write_all(int file, const char* text, size_t length);
void write_text(int file, const char* text);

/* The error document with the (already escaped) message; exit code 2. */
_Noreturn void fail(const char* message);
/* The error document for a message naming the profile. */
_Noreturn void fail_for(const char* before, const char* profileName, const char* after);
/* What the reference does not do: a line on standard error, exit code 3. */
_Noreturn void refuse(const char* what);

/* --- the run ------------------------------------------------------------- */

enum { EXTCOMPANY, DESTINATION, CLIENT, USER, PASSWORD, LANGUAGE, MODE, HOSTNAME, SYSNR, GWHOST, GWSERVICE, FIELDS };

struct totals {
    uint32_t queSize, reads, writes, maxQue, waitings;
    uint32_t noWork, dialog, batch, update, update2, enQueue, spool;
};

struct run {
    char optionText[512], optionString[512]; /* as typed, upper-cased */
    char name[256];
    const char* profileName;
    char* contents;
    size_t size;
    char* values[FIELDS];
    char password[21];
    char host[512], systemNumber[512];
    const char* hostname; /* the profile's, or the options' ,HOST= */
    const char* sysnr;    /* the profile's, or the options' ,NO= */
    struct totals totals;
    struct buffer document;
};

/* The options, the profile's file name. */
STEP void read_command_line(struct run* run, int argc, char** argv);
/* The profile from the working directory, after the path file was not found. */
STEP void read_profile_file(struct run* run);
/* The profile's fields, the password descrambled, every length checked. */
STEP void read_profile(struct run* run);
/* The host and system number the connection takes: run->hostname, run->sysnr. */
void take_overrides(struct run* run);
/* The system number as C's atoi reads it, clamped to 32 bits. */
int32_t system_number(const char* text);
/* A per-destination configuration "SapRfc.DEST" is refused. */
STEP void check_configuration(const struct run* run);
/* One line of the request-queue table (at most 80 characters) into the totals. */
void add_line(struct totals* totals, const char* line);
/* The document printed with one write, Dev_Rfc.Trc deleted. */
STEP void finish(struct run* run);
