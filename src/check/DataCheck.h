#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

// korvanthe --check: loads every file of a fighter folder, an arena folder
// or a whole data folder through the game's own readers, without opening a
// window, and lists every problem they find as "file:line: expected X,
// found Y". Paths in the problems are relative to the data folder, the one
// that holds "characters/" and "scenes/".
class DataCheck {
public:
    // Checks `folder` and writes its problems to out, one a line, and a
    // summary to err. Returns the exit status: 1 with problems, 0 without.
    static int Run(const std::string& folder, std::ostream& out, std::ostream& err);

    // The problems in `folder`; the working directory is the same afterwards.
    static std::vector<std::string> Problems(const std::string& folder);

private:
    void Everything();  // a data folder: its own files, then every fighter and arena
    // A fighter's files, its move tree played against each of `opponents`.
    void Fighter(const std::string& name, const std::vector<std::string>& opponents);
    void Arena(const std::string& name);
    int Body(const std::string& name);  // the fighter's bone count; -1 when it cannot be loaded
    // Loads every file of dir that ends in `extension`.
    static void Files(const std::string& dir, const std::string& extension,
                      const std::function<void(const std::string&)>& load);

    std::map<std::string, int> bodies;  // bone counts of the fighters loaded so far
};
