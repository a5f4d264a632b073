/* The reference of a single-system run through SAP's NetWeaver library
 * sapnwrfc: reference.c's job, the same steps before and after the library
 * (reference_run.c), and between them the library's own operations in the
 * order the sensor calls them: RfcOpenConnection with the profile's fields
 * as logon parameters in UTF-16 (ASHOST, SYSNR, GWHOST, GWSERV, SYSID,
 * CLIENT, USER, PASSWD, LANG; GWHOST, GWSERV and SYSID for an R/2 system),
 * RfcGetFunctionDesc and RfcCreateFunction of TH_REQUEST_QUEUE, RfcInvoke,
 * RfcGetTable of REQUEST_QUEUES, RfcGetRowCount, RfcMoveTo and RfcGetChars
 * of the field THLINE per row, RfcDestroyFunction, RfcCloseConnection.
 *
 * It links libsapnwrfc.so beside it (RUNPATH $ORIGIN), which loads its
 * companion from its own folder as the sensor sees it do. Texts are widened
 * byte by byte and narrowed unit by unit ('?' for a unit above 255): the
 * example's texts are ASCII. A failed invoke prints the sensor's message for
 * its code; a failure of another operation prints the RFC error block with
 * the record's key and message and its code and group as numbers. */
#include <stdlib.h>
#include <string.h>

#include "nwrfc_library.h"
#include "reference_run.h"

/* --- texts ---------------------------------------------------------------- */

enum { UNITS = 512 };

/* The text as UTF-16, one unit per byte; the target holds UNITS units. */
static const SAP_UC* widen(SAP_UC* target, const char* text) {
    size_t i = 0;
    for (; text[i] && i + 1 < UNITS; ++i) target[i] = (unsigned char)text[i];
    target[i] = 0;
    return target;
}

/* At most size units up to a terminator, as bytes; the target holds size + 1. */
static void narrow(char* target, const SAP_UC* text, size_t size) {
    size_t i = 0;
    for (; i < size && text[i]; ++i) target[i] = text[i] < 256 ? (char)text[i] : '?';
    target[i] = '\0';
}

/* --- the library's failures ------------------------------------------------ */

static void put_number_line(struct buffer* out, const char* label, unsigned value) {
    char digits[12];
    size_t count = sizeof digits - 1;
    digits[count] = '\0';
    do {
        digits[--count] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    put_label_line(out, label, digits + count, sizeof digits);
}

static RFC_CONNECTION_HANDLE connection;

static _Noreturn void failure_report(const char* operation, const RFC_ERROR_INFO* record) {
    char key[129], message[513];
    narrow(key, record->key, 128);
    narrow(message, record->message, 512);
    struct buffer out;
    out.length = 0;
    puts_(&out, "RFC error\n");
    put_label_line(&out, "operation/code", operation, 4096);
    put_label_line(&out, "key", key, sizeof key);
    put_number_line(&out, "status", (unsigned)record->code);
    put_label_line(&out, "message", message, sizeof message);
    put_number_line(&out, "internal status", (unsigned)record->group);
    puts_(&out, "\n");
    write_all(1, out.text, out.length);
    RFC_ERROR_INFO ignored;
    if (connection) RfcCloseConnection(connection, &ignored);
    write_text(1, "* Programm aborted...\n* Error at EoXput-File...\n");
    exit(1);
}

/* --- the library's steps --------------------------------------------------- */

enum { PARAMETERS = 9 };

static SAP_UC values[PARAMETERS][UNITS];
static RFC_CONNECTION_PARAMETER parameters[PARAMETERS];
static unsigned parameterCount;

/* A logon parameter, unless its value is empty. */
static void add(const SAP_UC* name, const char* value) {
    if (!*value) return;
    parameters[parameterCount].name = name;
    parameters[parameterCount].value = widen(values[parameterCount], value);
    ++parameterCount;
}

/* The system number as two digits at least. */
static void format_system_number(char text[13], int32_t number) {
    char* end = text + 12;
    *end = '\0';
    uint32_t magnitude = number < 0 ? 0u - (uint32_t)number : (uint32_t)number;
    do {
        *--end = (char)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (number >= 0 && number < 10) *--end = '0';
    if (number < 0) *--end = '-';
    memmove(text, end, strlen(end) + 1);
}

/* The logon parameters, the host and system number as the options may
 * override them. */
STEP static void fill_parameters(struct run* run) {
    char** fields = run->values;
    take_overrides(run);
    parameterCount = 0;
    if (strcmp(fields[MODE], "R/2") != 0) {
        char number[13];
        format_system_number(number, *run->sysnr ? system_number(run->sysnr) : 0);
        add(u"ASHOST", run->hostname);
        add(u"SYSNR", number);
    }
    add(u"GWHOST", fields[GWHOST]);
    add(u"GWSERV", fields[GWSERVICE]);
    add(u"SYSID", fields[DESTINATION]);
    add(u"CLIENT", fields[CLIENT]);
    add(u"USER", fields[USER]);
    add(u"PASSWD", run->password);
    add(u"LANG", fields[LANGUAGE]);
}

/* TH_REQUEST_QUEUE made from its description and invoked, REQUEST_QUEUES
 * summed row by row. */
STEP static void measure(struct run* run) {
    RFC_ERROR_INFO record;
    memset(&record, 0, sizeof record);
    RFC_FUNCTION_DESC_HANDLE description = RfcGetFunctionDesc(connection, u"TH_REQUEST_QUEUE", &record);
    if (!description) failure_report("RfcGetFunctionDesc TH_REQUEST_QUEUE", &record);
    RFC_FUNCTION_HANDLE function = RfcCreateFunction(description, &record);
    if (!function) failure_report("RfcCreateFunction TH_REQUEST_QUEUE", &record);
    RFC_RC code = RfcInvoke(connection, function, &record);
    if (code != RFC_OK) {
        struct buffer message;
        message.length = 0;
        switch (code) {
        case RFC_COMMUNICATION_FAILURE: puts_(&message, "Error 1014: RFC-Failure raised !"); break;
        case RFC_ABAP_EXCEPTION: {
            char key[129];
            narrow(key, record.key, 128);
            puts_(&message, "Error 1012: Exception.: ");
            put_escaped(&message, key);
            break;
        }
        case RFC_ABAP_RUNTIME_FAILURE:
        case RFC_ABAP_MESSAGE: puts_(&message, "Error 1013: Sys-Exception raised !"); break;
        default: puts_(&message, "Error 1015: Other Failure raised !");
        }
        put(&message, "", 1);
        RfcDestroyFunction(function, &record);
        RfcCloseConnection(connection, &record);
        fail(message.text);
    }

    memset(&run->totals, 0, sizeof run->totals);
    RFC_TABLE_HANDLE table = NULL;
    if (RfcGetTable(function, u"REQUEST_QUEUES", &table, &record) != RFC_OK)
        failure_report("RfcGetTable REQUEST_QUEUES", &record);
    unsigned rows = 0;
    if (RfcGetRowCount(table, &rows, &record) != RFC_OK) failure_report("RfcGetRowCount REQUEST_QUEUES", &record);
    for (unsigned row = 0; row < rows; ++row) {
        if (RfcMoveTo(table, row, &record) != RFC_OK) failure_report("RfcMoveTo REQUEST_QUEUES", &record);
        RFC_CHAR units[80];
        if (RfcGetChars(table, u"THLINE", units, 80, &record) != RFC_OK) failure_report("RfcGetChars THLINE", &record);
        char line[81];
        narrow(line, units, 80);
        add_line(&run->totals, line);
    }
    RfcDestroyFunction(function, &record);
}

int main(int argc, char** argv) {
    static struct run run;
    read_command_line(&run, argc, argv);
    read_profile_file(&run);
    read_profile(&run);

    fill_parameters(&run);
    check_configuration(&run);
    RFC_ERROR_INFO record;
    memset(&record, 0, sizeof record);
    connection = RfcOpenConnection(parameters, parameterCount, &record);
    if (!connection) fail_for("Error 1011: RFC-Open for ", run.values[DESTINATION], " failed !");
    measure(&run);
    RfcCloseConnection(connection, &record);

    finish(&run);
    return 0;
}
