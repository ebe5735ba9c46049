#pragma once
// "--help" and "--version", answered the same way by every program of the kit.

namespace platform {

// The kit's version; one build gives every program the same.
const char* KitVersion();

// When the first argument is "--help" (or "-h") or "--version", writes `help` or
// "<program> <version>" to stdout and returns true: the program then ends with status 0.
// Needs no application object, so it runs before a program asks for a display.
bool AnswerInfoRequest(int argc, char** argv, const char* program, const char* help);

} // namespace platform
