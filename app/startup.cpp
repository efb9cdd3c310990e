// Placeholder until the widget set lands: the program starts and ends cleanly.
#include <cstdio>

int tapbook_main(int, char**) {
    std::puts("Tapbook");
    return 0;
}
