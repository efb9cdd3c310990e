// Tapbook: start-up. Everything the program does after this runs in event handlers.
int tapbook_main(int argc, char** argv);

int main(int argc, char** argv) { return tapbook_main(argc, argv); }
