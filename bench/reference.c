/* The reference of a single-system run: the least C program that does what
 * `wickerby PROFILE [OPTIONS]` does on success, so that the sensor's cost can
 * be compared with the cost of the job itself rather than with printing alone
 * (floor.c).
 *
 * It does the same work in the same order (the steps that do not touch the
 * library are reference_run.c's, shared with reference_nwrfc.c): it looks for the path file below
 * $WICKERBY_DRIVES, reads the profile from the working directory (CR LF line
 * ends, "Key........: value" lines), descrambles the stored password with the
 * sensor's key, checks the fields' lengths, looks for a per-destination
 * "SapRfc.DEST", and then, through librfc32 linked dynamically like the
 * sensor (RUNPATH $ORIGIN, the library beside it): RfcEnvironment, RfcOpen
 * with the same three records, ItCreate, RfcInstallStructure, RfcCall of
 * TH_REQUEST_QUEUE, RfcReceive, ItFill, ItGetLine per line, ItDelete,
 * RfcClose. It sums the table as the sensor does, prints the same document
 * with one write, and deletes Dev_Rfc.Trc.
 *
 * It is a measuring stick, not a second sensor: listing runs, the console
 * report, a path file and a SapRfc.DEST configuration are refused on
 * standard error with exit code 3; a failure prints the error document
 * without the trace file's finding. Lines are taken whole, not in pieces of
 * 99 characters. bench/run.sh checks that its output is byte for byte the
 * sensor's. */
#include <stdlib.h>
#include <string.h>

#include "reference_run.h"
#include "rfc_library.h"

/* --- the library's failure handler --------------------------------------- */

static void RFC_CALL failure_report(const char* operation) {
    struct RfcErrorInformation error;
    memset(&error, 0, sizeof error);
    RfcLastError(&error);
    struct buffer out;
    out.length = 0;
    puts_(&out, "RFC error\n");
    put_label_line(&out, "operation/code", operation ? operation : "", 4096);
    put_label_line(&out, "key", error.key, sizeof error.key);
    put_label_line(&out, "status", error.status, sizeof error.status);
    put_label_line(&out, "message", error.message, sizeof error.message);
    put_label_line(&out, "internal status", error.internalStatus, sizeof error.internalStatus);
    puts_(&out, "\n");
    write_all(1, out.text, out.length);
    RfcClose(0);
    write_text(1, "* Programm aborted...\n* Error at EoXput-File...\n");
    exit(1);
}

/* --- the library's steps ------------------------------------------------- */

/* The text with blanks up to the width; the target holds it. */
static void padded(char* target, const char* text, size_t width) {
    size_t length = strlen(text);
    memcpy(target, text, length);
    for (; length < width; ++length) target[length] = ' ';
    target[length] = '\0';
}

static struct RfcGatewayRecord gateway;
static struct RfcR3ConnectionRecord r3;
static struct RfcConnectionOptions options;
static char paddedUser[48], paddedPassword[21];

/* The three records, the user and password padded with blanks, the host
 * and system number as the options may override them. */
STEP static void fill_records(struct run* run) {
    char** values = run->values;
    take_overrides(run);
    padded(paddedUser, values[USER], 12);
    padded(paddedPassword, run->password, 10);
    options.destination = values[DESTINATION];
    options.client = values[CLIENT];
    options.user = paddedUser;
    options.password = paddedPassword;
    options.language = values[LANGUAGE];
    options.trace = 0;
    gateway.gatewayHost = *values[GWHOST] ? values[GWHOST] : NULL;
    gateway.gatewayService = *values[GWSERVICE] ? values[GWSERVICE] : NULL;
    if (strcmp(values[MODE], "R/2") == 0) {
        options.mode = RFC_MODE_R2;
        options.connectionData = &gateway;
        return;
    }
    options.mode = RFC_MODE_R3;
    options.connectionData = &r3;
    r3.hostname = *run->hostname ? run->hostname : NULL;
    if (*run->sysnr) r3.systemNumber = system_number(run->sysnr);
    r3.gatewayHost = gateway.gatewayHost;
    r3.gatewayService = gateway.gatewayService;
}

/* TH_REQUEST_QUEUE into a fresh table, summed line by line. */
STEP static void measure(struct run* run, RfcHandle handle) {
    TableHandle table = ItCreate("REQUEST_QUEUES", 80, 0, 0);
    if (!table) failure_report("ItCreate REQUEST_QUEUES");
    struct RfcTypeElement element = {"THLINE", RFC_TYPE_CHAR, 80, 0, 0};
    LineTypeHandle lineType = 0;
    if (RfcInstallStructure("THLINES", &element, 1, &lineType) != 0) failure_report("RfcInstallStructure");
    struct RfcTableDescriptor tables[2];
    memset(tables, 0, sizeof tables);
    tables[0].name = "REQUEST_QUEUES";
    tables[0].nameLength = 14;
    tables[0].lineType = lineType;
    tables[0].table = table;
    struct RfcParameter exporting[1], importing[1];
    memset(exporting, 0, sizeof exporting);
    memset(importing, 0, sizeof importing);
    int code = RfcCall(handle, "TH_REQUEST_QUEUE", exporting, tables);
    char* exception = NULL;
    if (code == 0) code = RfcReceive(handle, importing, tables, &exception);
    if (code != 0) {
        struct buffer message;
        message.length = 0;
        switch (code) {
        case 1: puts_(&message, "Error 1014: RFC-Failure raised !"); break;
        case 2:
            puts_(&message, "Error 1012: Exception.: ");
            put_escaped(&message, exception ? exception : "");
            break;
        case 3: puts_(&message, "Error 1013: Sys-Exception raised !"); break;
        default: puts_(&message, "Error 1015: Other Failure raised !");
        }
        put(&message, "", 1);
        if (ItDelete(table) != 0) failure_report("ItDelete REQUEST_QUEUES");
        RfcClose(handle);
        fail(message.text);
    }

    memset(&run->totals, 0, sizeof run->totals);
    uint32_t lines = ItFill(table);
    for (uint32_t i = 1; i <= lines; ++i) {
        const char* line = ItGetLine(table, i);
        if (!line) failure_report("ItGetLine REQUEST_QUEUES");
        add_line(&run->totals, line);
    }
    if (ItDelete(table) != 0) failure_report("ItDelete REQUEST_QUEUES");
}

int main(int argc, char** argv) {
    static struct run run;
    read_command_line(&run, argc, argv);
    read_profile_file(&run);
    read_profile(&run);

    static struct RfcEnvironmentRecord environment = {failure_report, NULL};
    RfcEnvironment(&environment);
    fill_records(&run);
    check_configuration(&run);
    RfcHandle handle = RfcOpen(&options);
    if (!handle) fail_for("Error 1011: RFC-Open for ", run.values[DESTINATION], " failed !");
    measure(&run, handle);
    RfcClose(handle);

    finish(&run);
    return 0;
}
