// Tapbook: start-up. Everything the program does after this runs in event handlers.
#include "app/startup.hpp"

int main(int argc, char** argv) { return tapbook_main(argc, argv); }
