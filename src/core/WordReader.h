#pragma once

#include <fstream>
#include <istream>
#include <string>

struct Vector3;

// Reads a text data file the way every loader of the game does: words
// separated by white space (line breaks carry no meaning), numbers in
// formatted-input form, keywords compared exactly. It bounds every word and
// keeps the line it is on, so that a rejected file can be reported as
// "file:line: expected X, found Y".
class WordReader {
public:
    explicit WordReader(const std::string& path);        // opens the file
    WordReader(std::istream& in, const std::string& name);  // reads a stream already open

    bool isOpen() const { return in != nullptr; }
    // Bytes not read yet. A count read from the file cannot promise more items
    // than these could hold, whatever memory it asks for.
    long long remaining();
    // False, with the problem recorded, when `count` items of at least
    // `bytesEach` bytes could not fit in what is left of the file.
    bool Fits(long long count, int bytesEach, const std::string& what);
    bool failed() const { return !problem_.empty(); }  // a read or an expectation went wrong
    bool atEnd();                                       // only white space is left

    // Next word, at most maxLength characters: a longer word is cut there
    // (with a trace line) and the rest of it skipped. False at the end.
    bool Word(std::string& out, size_t maxLength = 255);
    // Next word must be `keyword`; otherwise the problem names both.
    bool Expect(const char* keyword);
    bool Int(int& out);
    bool Float(float& out);
    bool Vector(Vector3& out);
    // Skips one character, then stores the rest of the line, cut to
    // maxLength characters (the remainder of a longer line is skipped).
    bool RestOfLine(std::string& out, size_t maxLength);

    // Records a problem at the current line; the first one is kept.
    void Fail(const std::string& what);
    const std::string& problem() const { return problem_; }  // "name:line: what", or empty
    const std::string& name() const { return name_; }
    int line() const { return line_; }

private:
    void SkipSpace();
    std::string PeekWordForMessage();
    template <typename T> bool Number(T& out, const char* what);

    std::ifstream file;  // owned stream when reading by path
    std::istream* in;    // the stream read; null when the file did not open
    std::string name_;
    int line_ = 1;
    std::string problem_;
};
