#pragma once
// Start-up, apart from the toolkit's application object and its message loop: the fonts and
// platform seams, the sound device, the template set, the handlers, the program-wide state and
// the welcome window. The program runs it; so does the soak driver, before it replaces seams.
namespace tb::app {

// Needs a QApplication. Returns with the welcome window shown.
void start_program();

}  // namespace tb::app

// The whole program: start-up and the message loop. Returns the process's exit code.
int tapbook_main(int argc, char** argv);
