#pragma once

#include <string>
#include <sys/types.h>

// Whether a fighter's or an arena's folder loads, found out by a child
// process that loads it through the game's own readers without a window.
// A folder a modder shares may end the program (the readers do that on bad
// data) or crash it; here that only ends the child, and the last line it
// wrote on standard error says why.
class FolderCheck {
public:
    // The program the child runs: this game (the test suite names it).
    static const char* program;
    // The variable that makes the program a checker: "fighter NAME [OPPONENT]"
    // or "arena NAME".
    static constexpr const char* VARIABLE = "KORVANTHE_CHECK";

    // Starts the child: `what` as in VARIABLE.
    explicit FolderCheck(const std::string& what);
    ~FolderCheck();  // a check still running is ended
    FolderCheck(const FolderCheck&) = delete;
    FolderCheck& operator=(const FolderCheck&) = delete;

    bool Done();  // true once the child has ended; then `ok` and `problem` hold
    bool Wait();  // blocks until the child has ended; returns `ok`

    // The child's side, called by main() when VARIABLE is set: loads what
    // it names and returns 0, or ends the way the readers end on bad data.
    static int Run(const std::string& what);

    bool ok = false;
    std::string problem;  // why it does not load

private:
    void Read();    // what the child has written so far
    void Ended(int status);

    pid_t child = -1;
    int pipe = -1;        // the child's standard error
    std::string output;
};
