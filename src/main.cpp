#include "run/run_control.h"

int main(int argc, char** argv) {
    run_sensor(argc, argv);
}
