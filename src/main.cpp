// wickerby: the sensor that PRTG starts once per scan.
#include "console.h"
#include "runs.h"

int main(int argumentCount, char** arguments) {
    prepare_standard_output();
    const std::vector<std::string> words(arguments + (argumentCount > 0 ? 1 : 0), arguments + argumentCount);
    return run_sensor(words, standard_world());
}
