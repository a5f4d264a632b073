/* The reference programs' shared part: everything of a single-system run
 * that does not touch the RFC library (reference_run.h). */
#include "reference_run.h"

#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

/* --- output ------------------------------------------------------------- */

void put(struct buffer* out, const char* text, size_t length) {
    if (length > sizeof out->text - out->length) length = sizeof out->text - out->length;
    memcpy(out->text + out->length, text, length);
    out->length += length;
}

void puts_(struct buffer* out, const char* text) {
    put(out, text, strlen(text));
}

void put_escaped(struct buffer* out, const char* text) {
    for (; *text; ++text) {
        switch (*text) {
        case '&': puts_(out, "&amp;"); break;
        case '<': puts_(out, "&lt;"); break;
        case '>': puts_(out, "&gt;"); break;
        default: put(out, text, 1);
        }
    }
}

/* The decimal digits of the value; returns their count. */
static size_t decimal(uint32_t value, char digits[10]) {
    char reversed[10];
    size_t count = 0;
    do {
        reversed[count++] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    for (size_t i = 0; i < count; ++i) digits[i] = reversed[count - 1 - i];
    return count;
}

static void put_number(struct buffer* out, uint32_t value) {
    char digits[10];
    put(out, digits, decimal(value, digits));
}

/* '.' before the last three and the last six digits, no more. */
static void put_grouped(struct buffer* out, uint32_t value) {
    char digits[10];
    size_t count = decimal(value, digits);
    if (count <= 3) {
        put(out, digits, count);
    } else if (count <= 6) {
        put(out, digits, count - 3);
        put(out, ".", 1);
        put(out, digits + count - 3, 3);
    } else {
        put(out, digits, count - 6);
        put(out, ".", 1);
        put(out, digits + count - 6, 3);
        put(out, ".", 1);
        put(out, digits + count - 3, 3);
    }
}

void write_all(int file, const char* text, size_t length) {
    while (length > 0) {
        ssize_t written = write(file, text, length);
        if (written <= 0) return;
        text += written;
        length -= (size_t)written;
    }
}

void write_text(int file, const char* text) {
    write_all(file, text, strlen(text));
}

void fail(const char* message) {
    struct buffer out;
    out.length = 0;
    puts_(&out, "<Prtg>\n<Error>1</Error>\n<Text>");
    puts_(&out, message);
    puts_(&out, "</Text>\n</Prtg>\n");
    write_all(1, out.text, out.length);
    exit(2);
}

void fail_for(const char* before, const char* profileName, const char* after) {
    struct buffer message;
    message.length = 0;
    puts_(&message, before);
    put_escaped(&message, profileName);
    puts_(&message, after);
    put(&message, "", 1);
    fail(message.text);
}

void refuse(const char* what) {
    write_text(2, "reference: ");
    write_text(2, what);
    write_text(2, " is not part of the reference run\n");
    exit(3);
}

void put_label_line(struct buffer* out, const char* label, const char* field, size_t size) {
    size_t length = strlen(label);
    puts_(out, label);
    for (; length < 15; ++length) put(out, " ", 1);
    puts_(out, " : ");
    put(out, field, strnlen(field, size));
    put(out, "\n", 1);
}

/* --- files ---------------------------------------------------------------- */

/* The file descriptor of a regular file opened for reading, or -1. */
static int open_file(const char* path, struct stat* info) {
    int file = open(path, O_RDONLY);
    if (file < 0) return -1;
    if (fstat(file, info) != 0 || S_ISDIR(info->st_mode)) {
        close(file);
        return -1;
    }
    return file;
}

/* The path file C:\PRTG_Path.Txt, as the sensor maps it below the drives folder. */
static int path_file_exists(void) {
    const char* drives = getenv("WICKERBY_DRIVES");
    if (!drives || !*drives) drives = "/";
    char path[4096];
    size_t length = strlen(drives);
    if (length > sizeof path - 32) return 0;
    memcpy(path, drives, length);
    if (length == 0 || path[length - 1] != '/') path[length++] = '/';
    memcpy(path + length, "C/PRTG_Path.Txt", sizeof "C/PRTG_Path.Txt");
    struct stat info;
    int file = open_file(path, &info);
    if (file < 0) return 0;
    close(file);
    return 1;
}

/* --- the profile ---------------------------------------------------------- */

static const struct {
    const char* key;
    size_t minLength, maxLength;
} fields[FIELDS] = {
    {"Extcompany.:", 2, 60}, {"Destination:", 3, 11}, {"Client.....:", 3, 11}, {"User.......:", 2, 47},
    {"Password...:", 2, 20}, {"Language...:", 1, 31}, {"Mode.......:", 3, 31}, {"Hostname...:", 2, 47},
    {"Sysnr......:", 2, 31}, {"Gwhost.....:", 2, 60}, {"Gwservice..:", 2, 31},
};

/* The stored password: a header of four digits (check digit, key offset,
 * length) and a folded body of 20 characters, each XORed with the key. */
static void build_key(unsigned char key[32]) {
    for (size_t i = 0; i < 32; ++i) key[i] = (unsigned char)(1 + i % 31);
    uint32_t state = 0x3B9ACA07u;
    for (size_t i = 30; i > 0; --i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        unsigned char swapped = key[i];
        key[i] = key[state % (i + 1)];
        key[state % (i + 1)] = swapped;
    }
    if (key[0] >= 0x10 && key[0] <= 0x19) {
        unsigned char swapped = key[0];
        key[0] = key[31];
        key[31] = swapped;
    }
}

/* 0 and the password, 1 for a bad form, 2 for a failed check. */
static int descramble(const char* stored, char password[21]) {
    static const char checkAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";
    if (strlen(stored) != 24) return 1;
    unsigned char key[32];
    build_key(key);
    int digits[4];
    for (size_t i = 0; i < 4; ++i) {
        unsigned char c = (unsigned char)stored[i] ^ key[i];
        if (c < '0' || c > '9') return 1;
        digits[i] = c - '0';
    }
    size_t offset = (size_t)digits[1], length = (size_t)(digits[2] * 10 + digits[3]);
    char decoded[21];
    size_t count = 0;
    unsigned sum = 0;
    for (size_t p = 0; p < 20; ++p) {
        size_t body = p % 2 == 0 ? p / 2 : 19 - p / 2;
        unsigned char c = (unsigned char)stored[4 + body] ^ key[offset + body];
        if (c == 0) continue;
        decoded[count++] = (char)c;
        if (strchr(checkAlphabet, c)) sum += c;
    }
    if ((int)(sum % 10) != digits[0]) return 2;
    if (length > count) length = count;
    memcpy(password, decoded, length);
    password[length] = '\0';
    return 0;
}

/* --- the request-queue table ---------------------------------------------- */

/* As C's atoi, wrapping instead of overflowing. */
static uint32_t field_value(const char* field, size_t length) {
    size_t i = 0;
    while (i < length && (field[i] == ' ' || (field[i] >= '\t' && field[i] <= '\r'))) ++i;
    int negative = 0;
    if (i < length && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    uint32_t value = 0;
    for (; i < length && field[i] >= '0' && field[i] <= '9'; ++i) value = value * 10 + (uint32_t)(field[i] - '0');
    return negative ? 0u - value : value;
}

/* The field after the last blank, taken off the end of the text with the
 * blanks before it. */
static uint32_t take_last_field(const char* text, size_t* length) {
    size_t blank = *length;
    while (blank > 0 && text[blank - 1] != ' ') --blank;
    const char* field = text + blank;
    size_t fieldLength = *length - blank;
    *length = blank > 0 ? blank - 1 : 0;
    while (*length > 0 && text[*length - 1] == ' ') --*length;
    return field_value(field, fieldLength);
}

/* One table line: the blanks of the 13 name columns dropped, the numbers
 * read from column 72 backwards; the reads count for the line's queue. */
void add_line(struct totals* totals, const char* line) {
    size_t length = 0;
    while (length < 80 && line[length] != '\0') ++length;
    char text[72];
    size_t size = 0;
    for (size_t i = 0; i < length && i < 13; ++i)
        if (line[i] != ' ') text[size++] = line[i];
    while (size < 13) text[size++] = ' ';
    for (size_t i = 13; i < length && i < 72; ++i) text[size++] = line[i];

    uint32_t reads = take_last_field(text, &size);
    totals->reads += reads;
    totals->writes += take_last_field(text, &size);
    totals->queSize += take_last_field(text, &size);
    totals->maxQue += take_last_field(text, &size);
    totals->waitings += take_last_field(text, &size);

    static const struct {
        char code[4];
        size_t total;
    } rows[] = {
        {"NOW", offsetof(struct totals, noWork)},  {"DIA", offsetof(struct totals, dialog)},
        {"BTC", offsetof(struct totals, batch)},   {"UPD", offsetof(struct totals, update)},
        {"UP2", offsetof(struct totals, update2)}, {"ENQ", offsetof(struct totals, enQueue)},
        {"SPO", offsetof(struct totals, spool)},
    };
    for (size_t r = 0; r < sizeof rows / sizeof rows[0]; ++r) {
        if (memcmp(text, rows[r].code, 3) == 0) {
            *(uint32_t*)((char*)totals + rows[r].total) += reads;
            break;
        }
    }
}

/* --- the run -------------------------------------------------------------- */

/* The options: the second and third argument, as typed and upper-cased;
 * the profile's file name: ".P00" added, a directory part dropped. */
STEP void read_command_line(struct run* run, int argc, char** argv) {
    if (argc < 2) fail("Error 1001: Parameter for Profile-Name is missing !");
    run->optionText[0] = '\0';
    if (argc >= 3) {
        size_t length = strlen(argv[2]);
        if (length >= sizeof run->optionText / 2) length = sizeof run->optionText / 2 - 1;
        memcpy(run->optionText, argv[2], length);
        run->optionText[length] = '\0';
        if (argc >= 4) {
            run->optionText[length++] = ' ';
            size_t more = strlen(argv[3]);
            if (more >= sizeof run->optionText / 2) more = sizeof run->optionText / 2 - 1;
            memcpy(run->optionText + length, argv[3], more);
            run->optionText[length + more] = '\0';
        }
    }
    for (size_t i = 0; i == 0 || run->optionText[i - 1]; ++i) {
        char c = run->optionText[i];
        run->optionString[i] = c >= 'a' && c <= 'z' ? (char)(c - 'a' + 'A') : c;
    }
    if (strstr(run->optionString, "ITEM=")) refuse("a listing run");
    if (strpbrk(run->optionString, "#$%")) refuse("the console report");

    size_t length = strlen(argv[1]);
    if (length > sizeof run->name - 5) refuse("a profile name this long");
    memcpy(run->name, argv[1], length + 1);
    if (length < 4 || run->name[length - 4] != '.') memcpy(run->name + length, ".P00", 5);
    const char* backslash = strrchr(run->name, '\\');
    run->profileName = backslash && backslash > run->name ? backslash + 1 : run->name;
    if (strcasecmp(run->profileName, "GLOBAL.P00") == 0) refuse("a listing run");
}

/* The profile from the working directory, after the path file was not found. */
STEP void read_profile_file(struct run* run) {
    if (path_file_exists()) refuse("a path file");
    struct stat info;
    int file = open_file(run->profileName, &info);
    if (file < 0) fail_for("Error 1002: Profile ", run->profileName, " is missing...");
    size_t size = info.st_size > 0 ? (size_t)info.st_size : 0;
    run->contents = malloc(size + 1);
    size_t got = 0;
    ssize_t chunk;
    while (run->contents && got < size && (chunk = read(file, run->contents + got, size - got)) > 0)
        got += (size_t)chunk;
    close(file);
    if (!run->contents) fail_for("Error 1002: Profile ", run->profileName, " is missing...");
    run->contents[got] = '\0';
    run->size = got;
}

/* "Key........: value" lines, the value from the 14th character; the user
 * upper-cased, the password descrambled, every field's length checked. */
STEP void read_profile(struct run* run) {
    static char none[1];
    char* contents = run->contents;
    char** values = run->values;
    for (size_t f = 0; f < FIELDS; ++f) values[f] = none;
    for (char* line = contents; line < contents + run->size;) {
        char* end = memchr(line, '\n', (size_t)(contents + run->size - line));
        char* next = end ? end + 1 : contents + run->size;
        if (!end) end = contents + run->size;
        if (end > line && end[-1] == '\r') --end;
        *end = '\0';
        if (end - line >= 12) {
            for (size_t f = 0; f < FIELDS; ++f) {
                if (memcmp(line, fields[f].key, 12) == 0) {
                    values[f] = end - line > 13 ? line + 13 : none;
                    break;
                }
            }
        }
        line = next;
    }

    for (char* c = values[USER]; *c; ++c)
        if (*c >= 'a' && *c <= 'z') *c = (char)(*c - 'a' + 'A');
    run->password[0] = '\0';
    if (*values[PASSWORD]) {
        int result = descramble(values[PASSWORD], run->password);
        if (result == 1) fail_for("Error 1004: Invalid Password in Profile ", run->profileName, " found...");
        if (result == 2) fail_for("Error 1005: Wrong Password in Profile ", run->profileName, " found...");
    }
    values[PASSWORD] = run->password;
    if (!*values[USER]) fail_for("Error 1006: Username in Profile ", run->profileName, " is missing...");
    if (!*run->password) fail_for("Error 1007: Password in Profile ", run->profileName, " is missing...");
    for (size_t f = 0; f < FIELDS; ++f) {
        size_t length = strlen(values[f]);
        if (length < fields[f].minLength || length > fields[f].maxLength)
            fail_for("Error 1003: Invalid Parameter(s) at ", run->profileName, " found...");
    }
}

/* The option's value at the keyword's position: up to a blank or a comma. */
static int keyword_value(const struct run* run, const char* keyword, char* value, size_t size) {
    const char* at = strstr(run->optionString, keyword);
    if (!at) return 0;
    size_t i = (size_t)(at - run->optionString) + strlen(keyword), length = 0;
    for (; run->optionString[i] && run->optionString[i] != ' ' && run->optionString[i] != ',' && length + 1 < size; ++i)
        value[length++] = run->optionText[i];
    value[length] = '\0';
    return 1;
}

void take_overrides(struct run* run) {
    run->hostname = keyword_value(run, ",HOST=", run->host, sizeof run->host) ? run->host : run->values[HOSTNAME];
    run->sysnr = keyword_value(run, ",NO=", run->systemNumber, sizeof run->systemNumber) ? run->systemNumber
                                                                                         : run->values[SYSNR];
}

int32_t system_number(const char* text) {
    const char* s = text;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    int negative = 0;
    if (*s == '+' || *s == '-') negative = *s++ == '-';
    int64_t value = 0;
    for (; *s >= '0' && *s <= '9'; ++s)
        if ((value = value * 10 + (*s - '0')) > INT32_MAX) value = INT32_MAX;
    return (int32_t)(negative ? -value : value);
}

STEP void check_configuration(const struct run* run) {
    char configuration[32] = "SapRfc.";
    strcat(configuration, run->values[DESTINATION]);
    struct stat info;
    int file = open_file(configuration, &info);
    if (file >= 0) {
        close(file);
        refuse("a SapRfc.DEST configuration");
    }
}

/* The result document: the summary text and the eight channels. */
STEP static void build_document(struct run* run) {
    /* The label code: the last of the queue keywords found, in this order. */
    static const char* const labels[][2] = {{"NOWORK", "NOW"}, {"DIALOG", "DIA"}, {"UPDATE", "UPD"}, {"ENQUEUE", "ENQ"},
                                            {"BATCH", "BTC"},  {"SPOOL", "SPO"},  {"UPDATE2", "UP2"}};
    const char* label = NULL;
    for (size_t k = 0; k < sizeof labels / sizeof labels[0]; ++k)
        if (strstr(run->optionString, labels[k][0])) label = labels[k][1];

    const struct totals* totals = &run->totals;
    struct buffer* out = &run->document;
    out->length = 0;
    puts_(out, "\n<Prtg>\n\n<Text>(");
    put_escaped(out, run->values[DESTINATION]);
    if (label) {
        puts_(out, ") Sys-Queue[");
        puts_(out, label);
        puts_(out, "]: ");
    } else {
        puts_(out, ") System-Queues: ");
    }
    puts_(out, "QueSize=");
    put_grouped(out, totals->queSize);
    puts_(out, ", Reads=");
    put_grouped(out, totals->reads);
    puts_(out, ", Writes=");
    put_grouped(out, totals->writes);
    puts_(out, ", MaxQue=");
    put_grouped(out, totals->maxQue);
    puts_(out, ", Waitings=");
    put_grouped(out, totals->waitings);
    puts_(out, "</Text>\n");
    const struct {
        const char* channel;
        uint32_t total;
    } channels[] = {
        {"Requests NoWork", totals->noWork},   {"Requests Dialog", totals->dialog},
        {"Requests Batch", totals->batch},     {"Requests Update", totals->update},
        {"Requests Update2", totals->update2}, {"Requests EnQueue", totals->enQueue},
        {"Requests Spool", totals->spool},     {"Requests Waiting", totals->waitings},
    };
    for (size_t c = 0; c < sizeof channels / sizeof channels[0]; ++c) {
        puts_(out, "\n<Result><Channel>");
        puts_(out, channels[c].channel);
        puts_(out, "</Channel>\n<Unit>Custom</Unit>\n<CustomUnit>Reqs</CustomUnit>\n<Value>");
        put_number(out, channels[c].total);
        puts_(out, "</Value></Result>\n");
    }
    puts_(out, "\n</Prtg>\n");
}

STEP void finish(struct run* run) {
    build_document(run);
    write_all(1, run->document.text, run->document.length);
    unlink("Dev_Rfc.Trc");
    free(run->contents);
}
