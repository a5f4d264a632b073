#include "run/run_control.h"

#include <vector>

#include "output/document.h"
#include "platform/console.h"
#include "run/command_line.h"
#include "run/listing.h"
#include "run/profile_location.h"
#include "run/settings.h"
#include "system/runs.h"

void fail_run(const std::string& message) {
    ResultDocument document;
    set_error_document(document, message);
    print_document(document, false);
    end_process(2);
}

void run_sensor(int argumentCount, char** arguments) {
    prepare_standard_output();
    RunSettings settings;
    settings.bannerLine = banner_line(time_of_day_text());
    std::vector<std::string> words(arguments + (argumentCount > 0 ? 1 : 0), arguments + argumentCount);
    if (!parse_command_line(words, settings)) fail_run("Error 1001: Parameter for Profile-Name is missing !");
    complete_profile_name(settings);
    locate_profile(settings);
    if (settings.listingMode) {
        settings.profileFile.reset();
        read_server_listing(settings);
        run_listing(settings);
    }
    run_single_system(settings);
}
