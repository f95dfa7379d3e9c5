#include "core/WordReader.h"

#include <cctype>

#include "core/Trace.h"
#include "math/Vector3.h"

WordReader::WordReader(const std::string& path) : file(path), in(&file), name_(path) {
    if (!file.is_open()) in = nullptr;
}

WordReader::WordReader(std::istream& stream, const std::string& name)
    : in(&stream), name_(name) {}

void WordReader::SkipSpace() {
    if (in == nullptr) return;
    for (int c = in->peek(); c != EOF && std::isspace(c); c = in->peek()) {
        if (c == '\n') ++line_;
        in->get();
    }
}

bool WordReader::atEnd() {
    if (in == nullptr) return true;
    SkipSpace();
    return in->peek() == EOF;
}

bool WordReader::Word(std::string& out, size_t maxLength) {
    out.clear();
    if (in == nullptr || !*in) return false;
    SkipSpace();
    bool cut = false;
    for (int c = in->peek(); c != EOF && !std::isspace(c); c = in->peek()) {
        in->get();
        if (out.size() < maxLength) {
            out.push_back(static_cast<char>(c));
        } else {
            cut = true;
        }
    }
    if (cut) {
        debug << name_ << ':' << line_ << ": word cut to " << maxLength
              << " characters: " << out << std::endl;
    }
    if (out.empty()) {
        in->setstate(std::ios::failbit);
        return false;
    }
    return true;
}

std::string WordReader::PeekWordForMessage() {
    if (in == nullptr) return "nothing";
    in->clear();
    std::string found;
    if (!Word(found, 40)) return "the end of the file";
    return "'" + found + "'";
}

bool WordReader::Expect(const char* keyword) {
    std::string word;
    const int at = (SkipSpace(), line_);
    if (Word(word, 255) && word == keyword) return true;
    const std::string found = word.empty() ? "the end of the file" : "'" + word + "'";
    line_ = at;
    Fail(std::string("expected '") + keyword + "', found " + found);
    return false;
}

template <typename T>
bool WordReader::Number(T& out, const char* what) {
    if (in == nullptr || !*in) return false;
    SkipSpace();
    if (*in >> out) return true;
    const int at = line_;
    const std::string found = PeekWordForMessage();
    in->setstate(std::ios::failbit);
    line_ = at;
    Fail(std::string("expected ") + what + ", found " + found);
    return false;
}

bool WordReader::Int(int& out) { return Number(out, "a whole number"); }
bool WordReader::Float(float& out) { return Number(out, "a number"); }

bool WordReader::Vector(Vector3& out) {
    return Float(out.x) && Float(out.y) && Float(out.z);
}

bool WordReader::RestOfLine(std::string& out, size_t maxLength) {
    out.clear();
    if (in == nullptr || !*in) return false;
    // A keyword alone on its line gives an empty value, not the next line.
    if (in->get() == '\n') {
        ++line_;
        return true;
    }
    bool cut = false;
    for (int c = in->get(); c != EOF && c != '\n'; c = in->get()) {
        if (out.size() < maxLength) {
            out.push_back(static_cast<char>(c));
        } else {
            cut = true;
        }
    }
    if (cut) {
        debug << name_ << ':' << line_ << ": line cut to " << maxLength << " characters"
              << std::endl;
    }
    ++line_;
    in->clear(in->rdstate() & ~std::ios::failbit & ~std::ios::eofbit);
    return true;
}

long long WordReader::remaining() {
    if (in == nullptr) return 0;
    const std::streampos at = in->tellg();
    if (at < 0) return 0;
    in->seekg(0, std::ios::end);
    const std::streampos end = in->tellg();
    in->seekg(at);
    return end > at ? static_cast<long long>(end - at) : 0;
}

bool WordReader::Fits(long long count, int bytesEach, const std::string& what) {
    const long long room = remaining();
    // The last item needs no separator after it.
    if (count <= 0 || count * bytesEach <= room + 1) return true;
    Fail("expected at most " + std::to_string((room + 1) / bytesEach) + ' ' + what +
         " in the rest of the file, found a count of " + std::to_string(count));
    return false;
}

void WordReader::Fail(const std::string& what) {
    if (in != nullptr) in->setstate(std::ios::failbit);
    if (problem_.empty()) problem_ = name_ + ':' + std::to_string(line_) + ": " + what;
}
