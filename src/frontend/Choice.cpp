#include "frontend/Choice.h"

#include <ostream>

#include "core/Trace.h"
#include "frontend/String3D.h"

namespace {
// A letter is 30 units wide and high before it is scaled.
const float LETTER = Choice::LETTER_SIZE / 3.0f;
}  // namespace

Choice::Choice(const char* label, int x, int y, Material* m, float scale_)
    : top(y),
      left(x),
      bottom(static_cast<int>(y - LETTER * scale_)),
      right(x),
      text(nullptr),
      scale(scale_) {
    SetText(label);
    debug << "t=" << top << " b=" << bottom << " l=" << left << " r=" << right << std::endl;
    String3D::Map(m);
}

Choice::~Choice() { delete text; }

void Choice::SetText(const char* label) {
    delete text;
    text = new String3D(label, scale);
    right = static_cast<int>(left + LETTER * scale * text->length);
}
