#include "app/command_line.h"

int main(int argc, char** argv) { return scenario::run_command_line(argc, argv); }
