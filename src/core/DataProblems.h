#pragma once

#include <stdexcept>
#include <string>
#include <vector>

// What the readers do with a problem in a data file. While the game plays, a
// problem it works round is traced, one that makes it leave out part of a
// file is written to standard error, and a file it cannot use at all ends the
// program with the reader's own status. While a DataProblems object lives
// (korvanthe --check, the fuzz targets) every problem is collected in it
// instead, and a file that cannot be used is given up by throwing Abandoned,
// so that the check goes on with the next file.
class DataProblems {
public:
    // Thrown in place of ending the program while problems are collected.
    class Abandoned : public std::runtime_error {
    public:
        Abandoned(const std::string& problem, int status)
            : std::runtime_error(problem), status(status) {}
        int status;  // what the program would have ended with
    };

    DataProblems();   // collecting starts
    ~DataProblems();  // and stops; an outer collector, if any, collects again
    DataProblems(const DataProblems&) = delete;
    DataProblems& operator=(const DataProblems&) = delete;

    static bool collecting() { return active != nullptr; }

    // Each problem reads "file:line: expected X, found Y" where a line is known.
    static void Note(const std::string& problem);    // worked round, traced by the caller in its own words
    static void Trace(const std::string& problem);   // worked round: the trace only
    static void Report(const std::string& problem);  // part of a file left out: standard error
    // The file cannot be used: standard error and exit(status), or Abandoned.
    [[noreturn]] static void Abandon(const std::string& problem, int status);

    const std::vector<std::string>& problems() const { return list; }

private:
    void Add(const std::string& problem);  // once each: shared files are read again and again

    std::vector<std::string> list;
    DataProblems* outer;
    static DataProblems* active;
};
