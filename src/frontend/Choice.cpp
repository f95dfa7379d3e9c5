#include "frontend/Choice.h"

#include <ostream>

#include "core/Trace.h"
#include "frontend/String3D.h"

namespace {
const float TEXT_SCALE = 3;
}  // namespace

Choice::Choice(const char* label, int x, int y, Material* m)
    : top(y), left(x), bottom(y - LETTER_SIZE), right(x), text(new String3D(label, TEXT_SCALE)) {
    right = x + LETTER_SIZE * text->length;
    debug << "t=" << top << " b=" << bottom << " l=" << left << " r=" << right << std::endl;
    String3D::Map(m);
}

Choice::~Choice() { delete text; }
