// wickerby: the sensor that PRTG starts once per scan.
#include <string>
#include <vector>

#include "console.h"
#include "messages.h"
#include "runs.h"
#include "wickerby_version.h"
#include "worker.h"
#include "worker_process.h"

int main(int argumentCount, char** arguments) {
    const std::vector<std::string> words(arguments + (argumentCount > 0 ? 1 : 0), arguments + argumentCount);
    // A listing's worker: its bytes reach the parent, which prints them, as
    // they are. The argument alone is a profile name: only a parent's mark
    // in the environment makes a worker.
    if (words == std::vector<std::string>{workerArgument} && started_as_worker()) {
        make_standard_output_binary();
        return run_worker(standard_world());
    }
    prepare_standard_output();
    // PRTG never passes --version; alone, it is an administrator asking.
    if (words == std::vector<std::string>{"--version"}) {
        write_output(std::string("wickerby ") + WICKERBY_VERSION + " (" + programVersion + ")\n");
        return 0;
    }
    return run_sensor(words, standard_world());
}
