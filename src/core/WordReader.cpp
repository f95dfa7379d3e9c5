#include "core/WordReader.h"

#include <cctype>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdlib>

#include "core/Trace.h"
#include "math/Vector3.h"

WordReader::WordReader(const std::string& path) : file(path), in(&file), name_(path) {
    if (!file.is_open()) in = nullptr;
}

WordReader::WordReader(std::istream& stream, const std::string& name)
    : in(&stream), name_(name) {}

namespace {

// Characters are taken from the stream's buffer itself: the stream's own peek
// and get guard every call, and a mesh of some thousand vertices is read a
// character at a time while the player waits for the menu. As with the
// stream's own reads, a file that cannot be read (a folder, say) leaves the
// stream bad rather than throwing.
template <typename Read>
int Guarded(std::istream& in, Read read) {
    if (!in.good()) return EOF;
    try {
        return read(*in.rdbuf());
    } catch (...) {
        in.setstate(std::ios::badbit);
        return EOF;
    }
}

int Peek(std::istream& in) {
    return Guarded(in, [](std::streambuf& buffer) { return buffer.sgetc(); });
}

int Next(std::istream& in) {
    return Guarded(in, [](std::streambuf& buffer) { return buffer.snextc(); });
}

}  // namespace

void WordReader::SkipSpace() {
    if (in == nullptr) return;
    for (int c = Peek(*in); c != EOF && std::isspace(c); c = Next(*in)) {
        if (c == '\n') ++line_;
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
    for (int c = Peek(*in); c != EOF && !std::isspace(c); c = Next(*in)) {
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

namespace {

// Formatted input of a float, as the stream's own would read it, without its
// locale machinery for every character: a sign, digits with at most one
// point, then an exponent once a digit has come. What it takes is converted
// in the "C" locale whatever the player's, and a number too large for a float
// is refused.
bool Extract(std::istream& in, float& out) {
    int c = Peek(in);
    if (c == EOF) {  // nothing to read: the number is left as it was
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    std::string text;
    bool digits = false, point = false, exponent = false;
    if (c == '+' || c == '-') {
        text += static_cast<char>(c);
        c = Next(in);
    }
    for (;;) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point && !exponent) {
            point = true;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
            text += 'e';
            c = Next(in);
            if (c != '+' && c != '-') continue;
        } else {
            break;
        }
        text += static_cast<char>(c);
        c = Next(in);
    }
    if (c == EOF && in.good()) in.setstate(std::ios::eofbit);
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", nullptr);
    char* end = nullptr;
    const float value = strtof_l(text.c_str(), &end, classic);
    if (text.empty() || *end != '\0' || std::isinf(value)) {
        in.setstate(std::ios::failbit);
        out = std::isinf(value) ? std::copysign(FLT_MAX, value) : 0;
        return false;
    }
    out = value;
    return true;
}

bool Extract(std::istream& in, int& out) { return static_cast<bool>(in >> out); }

}  // namespace

template <typename T>
bool WordReader::Number(T& out, const char* what) {
    if (in == nullptr || !*in) return false;
    SkipSpace();
    if (Extract(*in, out)) return true;
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
