// wickerby: the sensor that PRTG starts once per scan.
#include <string>
#include <vector>

#include "console.h"
#include "messages.h"
#include "runs.h"
#include "wickerby_version.h"

int main(int argumentCount, char** arguments) {
    prepare_standard_output();
    const std::vector<std::string> words(arguments + (argumentCount > 0 ? 1 : 0), arguments + argumentCount);
    // PRTG never passes --version; alone, it is an administrator asking.
    if (words == std::vector<std::string>{"--version"}) {
        write_output(std::string("wickerby ") + WICKERBY_VERSION + " (" + programVersion + ")\n");
        return 0;
    }
    return run_sensor(words, standard_world());
}
