#include <optional>

#include "output/document.h"
#include "output/measurement.h"
#include "platform/console.h"
#include "platform/files.h"
#include "rfc/connection.h"
#include "rfc/failure_report.h"
#include "run/run_control.h"
#include "system/profile.h"
#include "system/runs.h"

namespace {

void fail_with_document(ResultDocument& document) {
    make_error_document_of_content(document);
    print_document(document, false);
    end_process(2);
}

}  // namespace

std::string parameter_text(const std::string& optionText) {
    std::string text = optionText.substr(0, optionText.find('#'));
    text = text.substr(0, text.find('@'));
    if (text.empty() || text == "(Parameters " || text == "(No ") return "(No Parameters)";
    return text;
}

std::string system_line(const std::string& timeText, const std::string& profileName,
                        const ConnectionProfile& profile) {
    return "* " + timeText + " " + profileName + ", " + profile.hostname + ", " + profile.destination + ", " +
           profile.sysnr + ", " + profile.client;
}

void run_single_system(RunSettings& settings) {
    ConnectionProfile profile;
    ProfileReading reading = read_profile(settings.profileFile.value_or(""), singleRunLineWidth,
                                          PasswordFailureMode::EndRun, settings.profileName, profile);
    settings.profileFile.reset();
    if (!reading.endingMessage.empty()) fail_run(reading.endingMessage);
    std::string invalid = validate_profile(profile, settings.profileName);
    if (!invalid.empty()) fail_run(invalid);

    install_failure_report();
    ResultDocument document;
    std::string callStatus = "ERR";
    if (settings.consoleReport) {
        const std::string timeText = time_of_day_text();
        write_output(settings.bannerLine + "\n");
        write_output(system_line(timeText, settings.profileName, profile) + " State=Processing\n");
        write_output("* " + timeText + " " + programName + " - " + parameter_text(settings.optionText) +
                     " State=Executing\n");
    }

    static ConnectionRecords records;
    RfcHandle handle =
        rfc_open_connection(records, profile, connection_overrides(settings.optionString, settings.optionText));
    if (!handle) fail_run("Error 1011: RFC-Open for " + profile.destination + " failed !");

    MeasurementSettings measurement{false, settings.optionString, settings.itemId, profile.destination, ""};
    measure_queues(handle, measurement, document, callStatus);
    RfcClose(handle);

    if (callStatus != "OK") {
        append_trace_finding(document);
        fail_with_document(document);
    }
    print_document(document, false);
    remove_file(traceFileName);
    if (settings.consoleReport)
        write_output("\n* " + time_of_day_text() + " SAP " + programName + " now processed...\n");
    end_process(0);
}
